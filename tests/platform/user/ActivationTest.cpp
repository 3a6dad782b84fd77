#include "WindowTestSupport.h"

namespace qm::test {
namespace {

class ActivationTest : public WindowTest {
 protected:
  std::optional<LoggedMessage> LastActivate(HWND hwnd) {
    auto all = Messages(hwnd, WM_ACTIVATE);
    if (all.empty()) return std::nullopt;
    return all.back();
  }
};

TEST_F(ActivationTest, ShowingAndClickingSendActivateStatesWithTheOtherWindow) {
  HWND a = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  ASSERT_TRUE(LastActivate(a));
  EXPECT_EQ(LOWORD(LastActivate(a)->wParam), WA_ACTIVE);
  HWND b = Create(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(LOWORD(LastActivate(a)->wParam), WA_INACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(LastActivate(a)->lParam), b);
  EXPECT_EQ(LOWORD(LastActivate(b)->wParam), WA_ACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(LastActivate(b)->lParam), a);

  ClearLog();
  Click({50, 50});
  EXPECT_EQ(GetActiveWindow(), a);
  ASSERT_TRUE(LastActivate(a));
  EXPECT_EQ(LOWORD(LastActivate(a)->wParam), WA_CLICKACTIVE);
  EXPECT_EQ(LOWORD(LastActivate(b)->wParam), WA_INACTIVE);
  EXPECT_EQ(WParams(b, WM_NCACTIVATE), std::vector<WPARAM>{FALSE});
  EXPECT_EQ(Messages(a, WM_LBUTTONDOWN).size(), 1u) << "the activating click is delivered as well";
}

TEST_F(ActivationTest, OwnedWindowsStayAboveTheirOwner) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND sheet = Create(WS_POPUP | WS_VISIBLE, {50, 50, 150, 150}, owner);
  Create(WS_POPUP | WS_VISIBLE, {400, 0, 500, 100});
  Pump();
  Click({10, 10});  // on the owner, outside the sheet
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(GetTopWindow(nullptr), sheet);
  EXPECT_EQ(GetWindow(sheet, GW_HWNDNEXT), owner);
  EXPECT_EQ(WindowFromPoint({60, 60}), sheet);
}

TEST_F(ActivationTest, DestroyingTheActiveWindowActivatesItsOwner) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND dialog = Create(WS_POPUP | WS_VISIBLE, {50, 50, 150, 150}, owner);
  EXPECT_EQ(GetActiveWindow(), dialog);
  ClearLog();
  DestroyWindow(dialog);
  EXPECT_EQ(GetActiveWindow(), owner);
  ASSERT_TRUE(LastActivate(owner));
  EXPECT_EQ(LOWORD(LastActivate(owner)->wParam), WA_ACTIVE);
}

TEST_F(ActivationTest, FocusMovesWithKillAndSetFocusAndReturnsOnActivation) {
  HWND a = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND edit1 = Create(WS_CHILD | WS_VISIBLE, {10, 10, 50, 30}, a, {}, 1);
  HWND edit2 = Create(WS_CHILD | WS_VISIBLE, {10, 40, 50, 60}, a, {}, 2);
  SetFocus(edit1);
  ClearLog();
  EXPECT_EQ(SetFocus(edit2), edit1);
  EXPECT_EQ(WParams(edit1, WM_KILLFOCUS), std::vector<WPARAM>{reinterpret_cast<WPARAM>(edit2)});
  EXPECT_EQ(WParams(edit2, WM_SETFOCUS), std::vector<WPARAM>{reinterpret_cast<WPARAM>(edit1)});

  HWND b = Create(WS_POPUP | WS_VISIBLE, {300, 0, 400, 100});
  EXPECT_EQ(GetFocus(), b);
  SetActiveWindow(a);
  EXPECT_EQ(GetFocus(), edit2) << "an activated window gets back its last focused child";
}

TEST_F(ActivationTest, DisablingTheFocusedWindowTakesFocusAway) {
  HWND a = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND button = Create(WS_CHILD | WS_VISIBLE, {10, 10, 50, 30}, a, {}, 1);
  SetFocus(button);
  EnableWindow(button, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_TRUE(EnableWindow(button, TRUE)) << "reports that it was disabled";
}

TEST_F(ActivationTest, MouseCaptureGetsMovesOutsideTheWindow) {
  HWND a = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND b = Create(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
  SetCapture(a);
  ClearLog();
  Mouse(qm::ui::InputKind::MouseMove, {250, 50});
  Pump();
  auto moves = Messages(a, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(static_cast<short>(LOWORD(moves[0].lParam)), 250) << "client coordinates of the capturing window";
  EXPECT_TRUE(Messages(b, WM_MOUSEMOVE).empty());
  ReleaseCapture();
  EXPECT_EQ(Messages(a, WM_CAPTURECHANGED).size(), 1u);
  Mouse(qm::ui::InputKind::MouseMove, {250, 50});
  Pump();
  EXPECT_EQ(Messages(b, WM_MOUSEMOVE).size(), 1u);
}

}  // namespace
}  // namespace qm::test
