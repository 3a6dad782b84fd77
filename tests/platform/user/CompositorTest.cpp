#include "WindowTestSupport.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WinGdi.h"

namespace qm::test {
namespace {

using qm::ui::ColorFromPixel;

class CompositorTest : public WindowTest {
 protected:
  COLORREF ScreenAt(int x, int y) { return ColorFromPixel(qm::ui::ScreenSurface().At(x, y)); }
};

// A window that paints its whole client area red.
std::optional<LRESULT> PaintsRed(HWND h, UINT m, WPARAM, LPARAM) {
  if (m != WM_PAINT) return std::nullopt;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  EndPaint(h, &ps);
  return 0;
}

TEST_F(CompositorTest, ClientFillsShowAtTheirScreenPlaceOverTheDesktop) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {100, 50, 300, 250});
  Create(WS_CHILD | WS_VISIBLE, {20, 30, 60, 70}, top, PaintsRed);
  Pump();
  struct Row {
    POINT at;
    COLORREF expected;
    const char* what;
  } rows[] = {
      {{10, 10}, RGB(0, 128, 128), "desktop"},
      {{99, 60}, RGB(0, 128, 128), "just left of the window"},
      {{100, 50}, RGB(255, 255, 255), "window's top-left, class brush"},
      {{119, 79}, RGB(255, 255, 255), "just outside the child"},
      {{120, 80}, RGB(255, 0, 0), "child's top-left"},
      {{159, 119}, RGB(255, 0, 0), "child's bottom-right"},
      {{160, 120}, RGB(255, 255, 255), "past the child"},
      {{299, 249}, RGB(255, 255, 255), "window's bottom-right"},
      {{300, 250}, RGB(0, 128, 128), "past the window"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ScreenAt(row.at.x, row.at.y), row.expected);
  }
  MoveWindow(top, 0, 0, 200, 200, TRUE);
  Pump();
  EXPECT_EQ(ScreenAt(250, 200), RGB(0, 128, 128)) << "the old place shows the desktop again";
  EXPECT_EQ(ScreenAt(30, 40), RGB(255, 0, 0));
  DestroyWindow(top);
  Pump();
  EXPECT_EQ(ScreenAt(30, 40), RGB(0, 128, 128));
}

TEST_F(CompositorTest, CaptionIsNavyWhenActiveAndGreyWhenNot) {
  Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {50, 50, 350, 250}, nullptr, {}, 0, 0, "T");
  Pump();
  int frame = GetSystemMetrics(SM_CXDLGFRAME);
  POINT inBar{50 + 200, 50 + frame + 5};
  EXPECT_EQ(ScreenAt(inBar.x, inBar.y), RGB(0, 0, 128));
  EXPECT_EQ(ScreenAt(50, 50), GetSysColor(COLOR_3DLIGHT)) << "outer ring of the raised frame";
  EXPECT_EQ(ScreenAt(51, 51), GetSysColor(COLOR_3DHILIGHT)) << "inner highlight of the raised frame";
  EXPECT_EQ(ScreenAt(349, 249), GetSysColor(COLOR_3DDKSHADOW)) << "dark outer shadow";

  HWND other = Create(WS_POPUP | WS_VISIBLE, {500, 300, 600, 400});
  Pump();
  EXPECT_EQ(ScreenAt(inBar.x, inBar.y), RGB(128, 128, 128));
  DestroyWindow(other);
  Pump();
  EXPECT_EQ(ScreenAt(inBar.x, inBar.y), RGB(0, 0, 128)) << "active again once the other window is gone";
}

TEST_F(CompositorTest, UpperWindowCoversLowerOneWhereTheyOverlap) {
  HWND lower = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  Create(WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 100, 300, 300});
  Pump();
  EXPECT_EQ(ScreenAt(100, 150), RGB(0, 0, 0)) << "the upper window's border";
  SetActiveWindow(lower);
  Pump();
  EXPECT_EQ(ScreenAt(100, 150), RGB(255, 255, 255)) << "the lower window came to the top";
  EXPECT_EQ(ScreenAt(250, 250), RGB(255, 255, 255));
}

TEST_F(CompositorTest, PaintedPictureSurvivesHidingAndShowing) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {10, 10, 110, 110});
  Pump();
  ShowWindow(top, SW_HIDE);
  Pump();
  EXPECT_EQ(ScreenAt(50, 50), RGB(0, 128, 128));
  ShowWindow(top, SW_SHOW);
  Pump();
  EXPECT_EQ(ScreenAt(50, 50), RGB(255, 255, 255));
}

// Two small invalidations far apart grow the parent's update rectangle over
// a child that neither touches; the parent's erase covers the child there,
// so the child must repaint too.
TEST_F(CompositorTest, ChildInsideTheGrownUpdateAreaIsRepaintedAfterTheParentsErase) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {100, 50, 300, 250});
  Create(WS_CHILD | WS_VISIBLE, {80, 80, 120, 120}, top, PaintsRed);
  Pump();
  ASSERT_EQ(ScreenAt(200, 150), RGB(255, 0, 0));
  for (bool erase : {true, false}) {
    SCOPED_TRACE(erase ? "erasing" : "not erasing");
    RECT topLeft{0, 0, 20, 20}, bottomRight{180, 180, 200, 200};
    InvalidateRect(top, &topLeft, erase);
    InvalidateRect(top, &bottomRight, TRUE);
    Pump();
    EXPECT_EQ(ScreenAt(200, 150), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(181, 131), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(179, 131), RGB(255, 255, 255));
  }
}

}  // namespace
}  // namespace qm::test
