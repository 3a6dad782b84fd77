#include "WindowTestSupport.h"
#include "platform/ui/user/CloseBox.h"

namespace qm::test {
namespace {

class InputTest : public WindowTest {
 protected:
  Handler IgnoreClose() {
    return [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (m == WM_CLOSE) return 0;
      return std::nullopt;
    };
  }
  POINT CloseBoxCentre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int frame = GetSystemMetrics(SM_CXDLGFRAME);
    return {r.right - frame - 2 - 8, r.top + frame + 2 + 7};
  }
};

TEST_F(InputTest, CloseBoxAndAltF4ReachWmCloseAndAWindowIgnoringItStays) {
  struct Row {
    const char* how;
    bool useKey;
  } rows[] = {{"close box", false}, {"Alt+F4", true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    HWND stubborn = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {10, 10, 210, 160}, nullptr, IgnoreClose());
    ClearLog();
    if (row.useKey)
      Key(VK_F4, true);
    else
      Click(CloseBoxCentre(stubborn));
    EXPECT_EQ(Messages(stubborn, WM_CLOSE).size(), 1u);
    EXPECT_TRUE(IsWindow(stubborn));

    HWND plain = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {10, 10, 210, 160});
    if (row.useKey)
      Key(VK_F4, true);
    else
      Click(CloseBoxCentre(plain));
    EXPECT_FALSE(IsWindow(plain)) << "DefWindowProcA destroys the window on WM_CLOSE";
    DestroyWindow(stubborn);
  }
}

TEST_F(InputTest, GreyedCloseBoxAndAltF4LeaveTheWindowOpen) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_NOCLOSE;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "NoCloseWindow";
  ASSERT_NE(RegisterClassExA(&wc), 0);
  for (bool byClass : {false, true}) {
    for (bool useKey : {false, true}) {
      SCOPED_TRACE(byClass ? "CS_NOCLOSE" : "DisableCloseBox");
      SCOPED_TRACE(useKey ? "Alt+F4" : "close box");
      HWND hwnd = byClass ? CreateWindowExA(0, "NoCloseWindow", "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10,
                                            10, 200, 150, nullptr, nullptr, nullptr, nullptr)
                          : Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {10, 10, 210, 160});
      ASSERT_NE(hwnd, nullptr);
      if (!byClass) qm::ui::user::DisableCloseBox(hwnd, true);
      ClearLog();
      auto close = [&] { useKey ? Key(VK_F4, true) : Click(CloseBoxCentre(hwnd)); };
      close();
      EXPECT_TRUE(IsWindow(hwnd));
      EXPECT_TRUE(Messages(hwnd, WM_CLOSE).empty());
      if (!byClass) {
        qm::ui::user::DisableCloseBox(hwnd, false);
        close();
        EXPECT_FALSE(IsWindow(hwnd)) << "enabled again, the close box closes";
      }
      DestroyWindow(hwnd);
    }
  }
}

TEST_F(InputTest, F4WithoutAltDoesNotClose) {
  HWND hwnd = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {10, 10, 210, 160});
  Key(VK_F4);
  EXPECT_TRUE(IsWindow(hwnd));
  DestroyWindow(hwnd);
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
  DestroyWindow(owner);
}

TEST_F(InputTest, ClickOnADisabledChildGoesNowhere) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND button = Create(WS_CHILD | WS_VISIBLE | WS_DISABLED, {10, 10, 60, 60}, top, {}, 1);
  ClearLog();
  ClickClient(button, {5, 5});
  EXPECT_TRUE(Messages(button, WM_LBUTTONDOWN).empty());
  DestroyWindow(top);
}

TEST_F(InputTest, ClicksArriveInClientCoordinatesOfTheWindowUnderThePoint) {
  HWND top = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, {100, 100, 400, 400});
  HWND transparent = Create(WS_CHILD | WS_VISIBLE, {0, 0, 200, 200}, top,
                            [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                              if (m == WM_NCHITTEST) return HTTRANSPARENT;
                              return std::nullopt;
                            });
  HWND inside = Create(WS_CHILD | WS_VISIBLE, {20, 30, 80, 60}, top, {}, 2);
  ClearLog();
  ClickClient(inside, {7, 9});
  auto downs = Messages(inside, WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u) << "a window answering HTTRANSPARENT lets the click through";
  EXPECT_EQ(LOWORD(downs[0].lParam), 7);
  EXPECT_EQ(HIWORD(downs[0].lParam), 9);
  EXPECT_EQ(Messages(inside, WM_LBUTTONUP).size(), 1u);
  EXPECT_TRUE(Messages(transparent, WM_LBUTTONDOWN).empty());
  DestroyWindow(top);
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndSetKeyState) {
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND edit = Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, top, {}, 1);
  short shiftDuringKey = 0;
  HWND probe = Create(WS_CHILD | WS_VISIBLE, {70, 10, 90, 60}, top,
                      [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_KEYDOWN) shiftDuringKey = GetKeyState(VK_SHIFT);
                        return std::nullopt;
                      }, 2);
  SetFocus(edit);
  ClearLog();
  Key(VK_TAB);
  EXPECT_EQ(Messages(edit, WM_KEYDOWN).size(), 1u);
  EXPECT_EQ(Messages(edit, WM_KEYUP).size(), 1u);
  SetFocus(probe);
  Key(VK_TAB, false, true);
  EXPECT_LT(shiftDuringKey, 0) << "Shift reads as held while the Shift+Tab key down is handled";
  DestroyWindow(top);
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
    qm::ui::InputEvent text;
    text.kind = qm::ui::InputKind::Text;
    text.text = row.text;
    qm::ui::InjectInput(text);
    Pump();
    std::vector<WPARAM> chars;
    for (const LoggedMessage& m : Messages(hwnd, WM_CHAR)) chars.push_back(m.wParam);
    EXPECT_EQ(chars, row.chars);
  }
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace qm::test

namespace qm::test {
namespace {

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowTest::log_.push_back({hwnd, message, wParam, lParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class DoubleClickTest : public WindowTest {};

TEST_F(DoubleClickTest, SecondPressIsADoubleClickOnlyForClassesAskingForIt) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "DoubleClicker";
  ASSERT_TRUE(RegisterClassExA(&wc));
  HWND top = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND asks = CreateWindowExA(0, "DoubleClicker", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr, nullptr,
                              nullptr);
  HWND plain = Create(WS_CHILD | WS_VISIBLE, {100, 10, 150, 60}, top);
  for (HWND target : {asks, plain}) {
    RECT r;
    GetWindowRect(target, &r);
    qm::ui::InputEvent event;
    event.point = {r.left + 5, r.top + 5};
    for (int press = 0; press < 3; ++press) {
      event.kind = qm::ui::InputKind::MouseDown;
      qm::ui::InjectInput(event);
      event.kind = qm::ui::InputKind::MouseUp;
      qm::ui::InjectInput(event);
    }
  }
  Pump();
  EXPECT_EQ(Messages(asks, WM_LBUTTONDOWN).size(), 2u) << "the third press starts over";
  EXPECT_EQ(Messages(asks, WM_LBUTTONDBLCLK).size(), 1u);
  EXPECT_EQ(Messages(plain, WM_LBUTTONDOWN).size(), 3u);
  EXPECT_TRUE(Messages(plain, WM_LBUTTONDBLCLK).empty());
  DestroyWindow(top);
}

}  // namespace
}  // namespace qm::test

namespace qm::test {
namespace {

class WindowMoveTest : public WindowTest {};

TEST_F(WindowMoveTest, DraggingTheCaptionMovesTheWindowAndEscPutsItBack) {
  HWND hwnd = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, {100, 100, 300, 250});
  POINT grip{150, 100 + GetSystemMetrics(SM_CYDLGFRAME) + 5};
  Mouse(qm::ui::InputKind::MouseDown, grip);
  Mouse(qm::ui::InputKind::MouseMove, {grip.x + 30, grip.y + 20});
  Mouse(qm::ui::InputKind::MouseUp, {grip.x + 30, grip.y + 20});
  Pump();
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(GetCapture(), nullptr);

  grip = {grip.x + 30, grip.y + 20};
  Mouse(qm::ui::InputKind::MouseDown, grip);
  Mouse(qm::ui::InputKind::MouseMove, {grip.x + 50, grip.y});
  qm::ui::InputEvent esc;
  esc.kind = qm::ui::InputKind::KeyDown;
  esc.virtualKey = VK_ESCAPE;
  qm::ui::InjectInput(esc);
  Mouse(qm::ui::InputKind::MouseUp, {grip.x + 50, grip.y});
  Pump();
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 130) << "Esc ends the drag where it began";
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace qm::test
