// A screen nobody sees (the headless one) is composed when it is read, not
// whenever the message loop idles; a shown one is presented as it changes.
// Either way what is read is what the windows painted last.
#include "WindowTestSupport.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WinGdi.h"

namespace qm::test {
namespace {

class CountingDisplay final : public qm::ui::DisplayBackend {
 public:
  CountingDisplay(bool shows, int* presents)
      : shows_(shows), presents_(presents), inner_(qm::ui::CreateHeadlessDisplay(640, 480)) {}
  const char* Name() const override { return "counting"; }
  SIZE ScreenSize() const override { return inner_->ScreenSize(); }
  RECT WorkArea() const override { return inner_->WorkArea(); }
  void Present(const qm::ui::Surface&, const std::vector<RECT>&) override { ++*presents_; }
  bool ShowsScreen() const override { return shows_; }
  void WaitForInput(int timeoutMs) override { inner_->WaitForInput(timeoutMs); }
  void Wake() override { inner_->Wake(); }

 private:
  bool shows_;
  int* presents_;
  std::unique_ptr<qm::ui::DisplayBackend> inner_;
};

std::optional<LRESULT> PaintsIn(COLORREF color, HWND h, UINT m) {
  if (m != WM_PAINT) return std::nullopt;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  EndPaint(h, &ps);
  return 0;
}

COLORREF ScreenAt(int x, int y) { return qm::ui::ColorFromPixel(qm::ui::ScreenSurface().At(x, y)); }

using UnseenScreenTest = WindowTest;

TEST_F(UnseenScreenTest, IsComposedWhenReadAndAShownOneAsItChanges) {
  struct Row {
    const char* what;
    bool shows;
    bool presentedWhileIdle;
  } rows[] = {{"a shown screen", true, true}, {"an unseen screen", false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    int presents = 0;
    qm::ui::UseDisplay(std::make_unique<CountingDisplay>(row.shows, &presents));
    COLORREF color = RGB(255, 0, 0);
    HWND top = Create(WS_POPUP | WS_VISIBLE, {100, 50, 300, 250}, nullptr,
                      [&](HWND h, UINT m, WPARAM, LPARAM) { return PaintsIn(color, h, m); });
    // Many small changes, more than the screen keeps apart as dirty areas.
    for (int i = 0; i < 40; ++i) {
      RECT strip{i * 5, 0, i * 5 + 5, 10};
      InvalidateRect(top, &strip, TRUE);
      Pump();
    }
    EXPECT_EQ(presents > 0, row.presentedWhileIdle) << presents;
    EXPECT_EQ(ScreenAt(100, 50), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(299, 249), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(99, 50), RGB(0, 128, 128)) << "the desktop beside the window";
    color = RGB(0, 0, 255);
    InvalidateRect(top, nullptr, TRUE);
    Pump();
    EXPECT_EQ(ScreenAt(200, 150), RGB(0, 0, 255)) << "the last paint, not the first";
    DestroyWindow(top);
    Pump();
    EXPECT_EQ(ScreenAt(200, 150), RGB(0, 128, 128));
  }
}

}  // namespace
}  // namespace qm::test
