// A dialog with the folder chooser's template (an extended template with a
// sizing border and the context-help button): the border's hit tests and
// cursors, resizing by the corner with the window's limits and its
// controls left in place, and the "?" box.
#include "platform/dialogs/DialogResourceBytes.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Resources.h"
#include "support/UiTest.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

struct Heard {
  std::vector<UINT> messages;
  std::vector<WPARAM> sizingEdges;
  std::vector<SIZE> clientSizes;
  std::vector<WPARAM> commands;
  POINT minimum{0, 0};
  int snapTo = 0;  // WM_SIZING rounds the width down to this, keeping the right edge
};
Heard heard;

LONG_PTR ChooserProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERSIZEMOVE || message == WM_EXITSIZEMOVE || message == WM_GETMINMAXINFO)
    heard.messages.push_back(message);
  if (message == WM_GETMINMAXINFO && heard.minimum.x)
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = heard.minimum;
  if (message == WM_SIZING) {
    heard.sizingEdges.push_back(wParam);
    auto* r = reinterpret_cast<RECT*>(lParam);
    if (heard.snapTo) r->left = r->right - (r->right - r->left) / heard.snapTo * heard.snapTo;
  }
  if (message == WM_SIZE) heard.clientSizes.push_back(SIZE{LOWORD(lParam), HIWORD(lParam)});
  if (message == WM_SYSCOMMAND) heard.commands.push_back(wParam & 0xFFF0);
  return message == WM_INITDIALOG || message == WM_SIZING;
}

class SizableDialogTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    heard = Heard{};
    const std::vector<BYTE> bytes = ChooserTemplate();
    ASSERT_TRUE(ParseDialogResource(bytes.data(), bytes.size(), chooser));
    chooser.style |= WS_VISIBLE;
    dialog = CreateDialogIndirectParamA(nullptr, &chooser, nullptr, ChooserProc, 0);
    ASSERT_NE(dialog, nullptr);
    Pump(dialog);
    heard = Heard{};
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    UiTest::TearDown();
  }
  // A point of the window, from its right or bottom edge when negative.
  POINT At(int x, int y) const {
    RECT r = WindowRect(dialog);
    return POINT{x >= 0 ? r.left + x : r.right + x, y >= 0 ? r.top + y : r.bottom + y};
  }
  LRESULT Hit(POINT screen) const { return SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)); }
  RECT ControlPlace(int id) const { return RectIn(dialog, GetDlgItem(dialog, id)); }
  // Drags from one point by an offset, in the window system's sizing loop.
  void Drag(POINT from, POINT by) {
    PlayWhenIdle({[=] {
      Mouse(ui::InputKind::MouseMove, POINT{from.x + by.x, from.y + by.y});
      Mouse(ui::InputKind::MouseUp, POINT{from.x + by.x, from.y + by.y});
    }});
    Mouse(ui::InputKind::MouseMove, from);
    Mouse(ui::InputKind::MouseDown, from);
    Pump(dialog);
    ui::user::SetIdleHook({});
  }
  std::pair<LONG, LONG> Size() const {
    const RECT r = WindowRect(dialog);
    return {r.right - r.left, r.bottom - r.top};
  }

  DialogTemplate chooser;
  HWND dialog = nullptr;
};

TEST_F(SizableDialogTest, BorderAndCornersHitTestAndSetTheirCursors) {
  struct Case {
    int x, y;  // negative: from the right or bottom
    LRESULT hit;
    LPCSTR cursor;
  };
  const Case cases[] = {
      {1, 60, HTLEFT, IDC_SIZEWE},         {-2, 60, HTRIGHT, IDC_SIZEWE},       {80, 1, HTTOP, IDC_SIZENS},
      {80, -1, HTBOTTOM, IDC_SIZENS},      {0, 0, HTTOPLEFT, IDC_SIZENWSE},     {1, 12, HTTOPLEFT, IDC_SIZENWSE},
      {12, 1, HTTOPLEFT, IDC_SIZENWSE},    {-1, -1, HTBOTTOMRIGHT, IDC_SIZENWSE}, {-1, 3, HTTOPRIGHT, IDC_SIZENESW},
      {2, -12, HTBOTTOMLEFT, IDC_SIZENESW}, {80, 12, HTCAPTION, IDC_ARROW},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(Hit(At(c.x, c.y)), c.hit);
    Mouse(ui::InputKind::MouseMove, At(c.x, c.y));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor));
  }
  SetWindowLongA(dialog, GWL_STYLE, GetWindowLongA(dialog, GWL_STYLE) & ~WS_THICKFRAME);
  EXPECT_EQ(Hit(At(1, 60)), HTBORDER) << "a frame that cannot be sized";
}

TEST_F(SizableDialogTest, DraggingTheCornerResizesWithinTheLimitsAndLeavesTheControlsInPlace) {
  const auto before = Size();
  RECT clientBefore = ClientRect(dialog);
  const RECT go = ControlPlace(1052), ok = ControlPlace(IDOK);
  heard.minimum = POINT{before.first, before.second};
  Drag(At(-1, -1), POINT{60, 40});
  EXPECT_EQ(Size(), std::make_pair(before.first + 60, before.second + 40));
  EXPECT_EQ(heard.messages, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_EXITSIZEMOVE}));
  ASSERT_FALSE(heard.sizingEdges.empty());
  EXPECT_EQ(heard.sizingEdges.front(), WMSZ_BOTTOMRIGHT);
  ASSERT_FALSE(heard.clientSizes.empty());
  EXPECT_EQ(std::make_pair(heard.clientSizes.back().cx, heard.clientSizes.back().cy),
            std::make_pair(clientBefore.right + 60, clientBefore.bottom + 40));
  EXPECT_EQ(std::make_pair(ControlPlace(1052).left, ControlPlace(1052).top), std::make_pair(go.left, go.top));
  EXPECT_EQ(ControlPlace(IDOK).top, ok.top) << "nothing moves the controls but the program";

  Drag(At(-1, -1), POINT{-300, -300});
  EXPECT_EQ(Size(), before) << "no smaller than WM_GETMINMAXINFO allows";

  heard = Heard{};
  heard.snapTo = 50;
  const POINT left = At(1, 60);
  const RECT frameBefore = WindowRect(dialog);
  Drag(left, POINT{-73, 0});
  RECT frame = WindowRect(dialog);
  EXPECT_EQ(frame.right, frameBefore.right) << "the left edge moves, the right one stays";
  EXPECT_EQ((frame.right - frame.left) % 50, 0) << "the window's WM_SIZING answer is the size it gets";
  EXPECT_EQ(heard.sizingEdges.front(), WMSZ_LEFT);
}

TEST_F(SizableDialogTest, EscWhileSizingPutsTheWindowBack) {
  const auto before = Size();
  const POINT corner = At(-1, -1);
  PlayWhenIdle({[=] { Mouse(ui::InputKind::MouseMove, POINT{corner.x + 50, corner.y + 50}); },
                [=, this] {
                  EXPECT_EQ(Size().first, before.first + 50) << "the window follows while the border is held";
                  InjectKey(VK_ESCAPE);
                }});
  Mouse(ui::InputKind::MouseMove, corner);
  Mouse(ui::InputKind::MouseDown, corner);
  Pump(dialog);
  EXPECT_EQ(Size(), before);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizableDialogTest, HelpBoxStandsBesideTheCloseBoxAndSendsContextHelp) {
  RECT frame = WindowRect(dialog);
  const int y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  int helpRight = -1, closeLeft = -1, helpLeft = -1;
  for (int x = frame.left; x < frame.right; ++x) {
    const LRESULT hit = Hit(POINT{x, y});
    if (hit == HTHELP && helpLeft < 0) helpLeft = x;
    if (hit == HTHELP) helpRight = x;
    if (hit == HTCLOSE && closeLeft < 0) closeLeft = x;
  }
  ASSERT_GE(helpLeft, 0) << "WS_EX_CONTEXTHELP shows the box";
  EXPECT_EQ(closeLeft - helpRight - 1, 2) << "two pixels apart";
  EXPECT_EQ(helpRight - helpLeft + 1, 16);

  // The glyph: a black question mark of 20 pixels on the raised grey box.
  Capture(dialog);
  const ui::Surface& screen = ui::ScreenSurface();
  int ink = 0;
  for (int py = y - 7; py < y + 6; ++py)
    for (int px = helpLeft + 2; px < helpRight - 1; ++px) ink += screen.At(px, py) == ui::PixelFromColor(RGB(0, 0, 0));
  EXPECT_EQ(ink, 20);

  InjectClickAt(POINT{(helpLeft + helpRight) / 2, y});
  Pump(dialog);
  EXPECT_EQ(heard.commands, (std::vector<WPARAM>{SC_CONTEXTHELP}));
  EXPECT_TRUE(IsWindowVisible(dialog)) << "the help mode does nothing more";
}

TEST_F(SizableDialogTest, BoxPairLeavesNoRoomForTheHelpBox) {
  SetWindowLongA(dialog, GWL_STYLE, GetWindowLongA(dialog, GWL_STYLE) | WS_MINIMIZEBOX);
  RECT frame = WindowRect(dialog);
  const int y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = frame.left; x < frame.right; ++x) EXPECT_NE(Hit(POINT{x, y}), HTHELP);
}

}  // namespace
}  // namespace qm::test
