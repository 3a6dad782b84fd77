#include "WindowTestSupport.h"
#include "platform/ui/user/CloseBox.h"

namespace qm::test {
namespace {

constexpr DWORD kCaptioned = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

class InputTest : public WindowTest {
 protected:
  POINT CloseBoxCentre(HWND hwnd) {
    RECT r = WindowRect(hwnd);
    int frame = GetSystemMetrics(SM_CXDLGFRAME);
    return {r.right - frame - 2 - 8, r.top + frame + 2 + 7};
  }
  void CloseBy(bool useKey, HWND hwnd) { useKey ? Key(VK_F4, true) : Click(CloseBoxCentre(hwnd)); }
};

TEST_F(InputTest, CloseBoxAndAltF4ReachWmCloseAndAWindowIgnoringItStays) {
  for (bool useKey : {false, true}) {
    SCOPED_TRACE(useKey ? "Alt+F4" : "close box");
    HWND stubborn = Create(kCaptioned, {10, 10, 210, 160}, nullptr, Answer(WM_CLOSE, 0));
    ClearLog();
    CloseBy(useKey, stubborn);
    EXPECT_EQ(Messages(stubborn, WM_CLOSE).size(), 1u);
    EXPECT_TRUE(IsWindow(stubborn));

    HWND plain = Create(kCaptioned, {10, 10, 210, 160});
    CloseBy(useKey, plain);
    EXPECT_FALSE(IsWindow(plain)) << "DefWindowProcA destroys the window on WM_CLOSE";
    DestroyWindow(stubborn);
  }
}

TEST_F(InputTest, GreyedCloseBoxAndAltF4LeaveTheWindowOpen) {
  ASSERT_NE(RegisterTestClass("NoCloseWindow", CS_NOCLOSE), 0);
  for (bool byClass : {false, true}) {
    for (bool useKey : {false, true}) {
      SCOPED_TRACE(byClass ? "CS_NOCLOSE" : "DisableCloseBox");
      SCOPED_TRACE(useKey ? "Alt+F4" : "close box");
      const RECT rect{10, 10, 210, 160};
      HWND hwnd = byClass ? CreateOf("NoCloseWindow", kCaptioned, rect) : Create(kCaptioned, rect);
      ASSERT_NE(hwnd, nullptr);
      if (!byClass) qm::ui::user::DisableCloseBox(hwnd, true);
      ClearLog();
      CloseBy(useKey, hwnd);
      EXPECT_TRUE(IsWindow(hwnd));
      EXPECT_TRUE(Messages(hwnd, WM_CLOSE).empty());
      if (!byClass) {
        qm::ui::user::DisableCloseBox(hwnd, false);
        CloseBy(useKey, hwnd);
        EXPECT_FALSE(IsWindow(hwnd)) << "enabled again, the close box closes";
      }
      DestroyWindow(hwnd);
    }
  }
}

TEST_F(InputTest, F4WithoutAltDoesNotClose) {
  HWND hwnd = Create(kCaptioned, {10, 10, 210, 160});
  Key(VK_F4);
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(InputTest, DisabledWindowsGetNoInputAndAClickActivatesTheirModalPopup) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND child = Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, owner, {}, 1);
  HWND modal = Create(WS_POPUP | WS_VISIBLE, {350, 0, 450, 100}, owner);
  EnableWindow(owner, FALSE);
  SetActiveWindow(modal);
  ClearLog();
  ClickClient(child, {5, 5});
  EXPECT_TRUE(Messages(child, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(Messages(owner, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(GetActiveWindow(), modal);
  EXPECT_EQ(GetTopWindow(nullptr), modal);

  // Posted input that reaches dispatch for a disabled window is dropped there.
  PostMessageA(child, WM_KEYDOWN, VK_SPACE, 1);
  Pump();
  EXPECT_TRUE(Messages(child, WM_KEYDOWN).empty());

  EnableWindow(owner, TRUE);
  ClickClient(child, {5, 5});
  EXPECT_EQ(Messages(child, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(InputTest, ClickOnADisabledChildGoesNowhere) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND button = Create(WS_CHILD | WS_VISIBLE | WS_DISABLED, {10, 10, 60, 60}, top, {}, 1);
  ClearLog();
  ClickClient(button, {5, 5});
  EXPECT_TRUE(Messages(button, WM_LBUTTONDOWN).empty());
}

TEST_F(InputTest, ClicksArriveInClientCoordinatesOfTheWindowUnderThePoint) {
  HWND top = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, {100, 100, 400, 400});
  HWND transparent = Create(WS_CHILD | WS_VISIBLE, {0, 0, 200, 200}, top, Answer(WM_NCHITTEST, HTTRANSPARENT));
  HWND inside = Create(WS_CHILD | WS_VISIBLE, {20, 30, 80, 60}, top, {}, 2);
  ClearLog();
  ClickClient(inside, {7, 9});
  auto downs = Messages(inside, WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u) << "a window answering HTTRANSPARENT lets the click through";
  EXPECT_EQ(LOWORD(downs[0].lParam), 7);
  EXPECT_EQ(HIWORD(downs[0].lParam), 9);
  EXPECT_EQ(Messages(inside, WM_LBUTTONUP).size(), 1u);
  EXPECT_TRUE(Messages(transparent, WM_LBUTTONDOWN).empty());
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndSetKeyState) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND edit = Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, top, {}, 1);
  short shiftDuringKey = 0;
  HWND probe = Create(WS_CHILD | WS_VISIBLE, {70, 10, 90, 60}, top,
                      On(WM_KEYDOWN, [&](WPARAM) { shiftDuringKey = GetKeyState(VK_SHIFT); }), 2);
  SetFocus(edit);
  ClearLog();
  Key(VK_TAB);
  EXPECT_EQ(Messages(edit, WM_KEYDOWN).size(), 1u);
  EXPECT_EQ(Messages(edit, WM_KEYUP).size(), 1u);
  SetFocus(probe);
  Key(VK_TAB, false, true);
  EXPECT_LT(shiftDuringKey, 0) << "Shift reads as held while the Shift+Tab key down is handled";
}

// Typed text reaches the window as the characters text drawing shows for
// it: bytes that are not UTF-8 come as U+FFFD, one per ill-formed
// subsequence, and never as a made-up character from their bits.
TEST_F(InputTest, TextWithBytesThatAreNotUtf8ArrivesAsReplacementCharacters) {
  const struct {
    const char* name;
    std::string text;
    std::vector<WPARAM> chars;
  } rows[] = {
      {"truncated then valid", "\xE2\x82\xC3\xA9", {0xFFFD, 0xE9}},
      {"lone continuation", "a\x80" "b", {'a', 0xFFFD, 'b'}},
      {"overlong", "\xC0\xAF", {0xFFFD, 0xFFFD}},
      {"surrogate", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
      {"byte never in UTF-8", "\xFF", {0xFFFD}},
      {"four-byte character", "\xF0\x9F\x8E\xAE", {0x1F3AE}},
  };
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  SetFocus(hwnd);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ClearLog();
    Type(row.text);
    EXPECT_EQ(WParams(hwnd, WM_CHAR), row.chars);
  }
}

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowTest::log_.push_back({hwnd, message, wParam, lParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

using DoubleClickTest = WindowTest;

TEST_F(DoubleClickTest, SecondPressIsADoubleClickOnlyForClassesAskingForIt) {
  ASSERT_TRUE(RegisterTestClass("DoubleClicker", CS_DBLCLKS, CountingProc));
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND asks = CreateOf("DoubleClicker", WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, top);
  HWND plain = Create(WS_CHILD | WS_VISIBLE, {100, 10, 150, 60}, top);
  for (HWND target : {asks, plain}) {
    const POINT at{WindowRect(target).left + 5, WindowRect(target).top + 5};
    for (int press = 0; press < 3; ++press) {
      Mouse(qm::ui::InputKind::MouseDown, at);
      Mouse(qm::ui::InputKind::MouseUp, at);
    }
  }
  Pump();
  EXPECT_EQ(Messages(asks, WM_LBUTTONDOWN).size(), 2u) << "the third press starts over";
  EXPECT_EQ(Messages(asks, WM_LBUTTONDBLCLK).size(), 1u);
  EXPECT_EQ(Messages(plain, WM_LBUTTONDOWN).size(), 3u);
  EXPECT_TRUE(Messages(plain, WM_LBUTTONDBLCLK).empty());
}

using WindowMoveTest = WindowTest;

TEST_F(WindowMoveTest, DraggingTheCaptionMovesTheWindowAndEscPutsItBack) {
  HWND hwnd = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, {100, 100, 300, 250});
  POINT grip{150, 100 + GetSystemMetrics(SM_CYDLGFRAME) + 5};
  Mouse(qm::ui::InputKind::MouseDown, grip);
  Mouse(qm::ui::InputKind::MouseMove, {grip.x + 30, grip.y + 20});
  Mouse(qm::ui::InputKind::MouseUp, {grip.x + 30, grip.y + 20});
  Pump();
  EXPECT_EQ(WindowRect(hwnd).left, 130);
  EXPECT_EQ(WindowRect(hwnd).top, 120);
  EXPECT_EQ(WindowRect(hwnd).right - WindowRect(hwnd).left, 200);
  EXPECT_EQ(GetCapture(), nullptr);

  grip = {grip.x + 30, grip.y + 20};
  Mouse(qm::ui::InputKind::MouseDown, grip);
  Mouse(qm::ui::InputKind::MouseMove, {grip.x + 50, grip.y});
  InjectKey(VK_ESCAPE, false, false, false);  // pressed while the drag goes on
  Mouse(qm::ui::InputKind::MouseUp, {grip.x + 50, grip.y});
  Pump();
  EXPECT_EQ(WindowRect(hwnd).left, 130) << "Esc ends the drag where it began";
}

}  // namespace
}  // namespace qm::test
