// The one modal loop that dialogs, property sheets, window dragging and
// popup menus run: what happens to the owner, the quit message, and what
// its filter sees.
#include "WindowTestSupport.h"
#include "platform/ui/user/ModalLoop.h"

namespace qm::test {
namespace {

using qm::ui::user::ModalFilterResult;
using qm::ui::user::RunModalLoop;

class ModalLoopTest : public WindowTest {
 protected:
  // Index of the first logged message matching, or -1.
  int FirstIndexOf(HWND hwnd, UINT message) const {
    for (std::size_t i = 0; i < log_.size(); ++i)
      if (log_[i].hwnd == hwnd && log_[i].message == message) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(ModalLoopTest, OwnerIsDisabledWhileTheLoopRunsThenEnabledAndActiveAgain) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  bool done = false;
  BOOL ownerEnabledInside = TRUE;
  HWND activeInside = nullptr;
  HWND window = Create(WS_POPUP | WS_CAPTION, {50, 50, 200, 150}, owner,
                       [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                         if (message != WM_APP) return std::nullopt;
                         ownerEnabledInside = IsWindowEnabled(owner);
                         activeInside = GetActiveWindow();
                         done = true;
                         return 0;
                       });
  Pump();
  ClearLog();
  PostMessageA(window, WM_APP, 0, 0);

  EXPECT_TRUE(RunModalLoop(owner, window, [&] { return !done; }));
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_EQ(activeInside, window) << "the hidden window was shown, and activated, by the loop";
  const int disabled = FirstIndexOf(owner, WM_ENABLE);
  const int shown = FirstIndexOf(window, WM_SHOWWINDOW);
  ASSERT_GE(disabled, 0);
  ASSERT_GE(shown, 0);
  EXPECT_LT(disabled, shown) << "the owner takes no input once its modal window is up";
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner) << "activated again before the window goes";
}

TEST_F(ModalLoopTest, AnOwnerDisabledBeforeTheLoopStaysDisabledAfterIt) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND window = Create(WS_POPUP | WS_VISIBLE, {50, 50, 200, 150}, owner);
  EnableWindow(owner, FALSE);
  int turns = 0;
  PostMessageA(window, WM_NULL, 0, 0);
  EXPECT_TRUE(RunModalLoop(owner, window, [&] { return turns++ == 0; }));
  EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(ModalLoopTest, QuitMessageEndsTheLoopAndIsPostedAgainForTheLoopOutside) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND window = Create(WS_POPUP | WS_VISIBLE, {50, 50, 200, 150}, owner);
  PostQuitMessage(7);
  EXPECT_FALSE(RunModalLoop(owner, window, [] { return true; }));
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ModalLoopTest, LoopWhoseWindowIsDestroyedEndsInsteadOfWaitingForever) {
  HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND window = Create(WS_POPUP | WS_VISIBLE, {50, 50, 200, 150}, owner,
                       [](HWND self, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                         if (message != WM_APP) return std::nullopt;
                         DestroyWindow(self);
                         return 0;
                       });
  PostMessageA(window, WM_APP, 0, 0);
  EXPECT_TRUE(RunModalLoop(owner, window, [] { return true; }));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

// What a popup menu needs: no owner to disable, the keyboard input meant for
// the focused window and a click outside its own window seen before
// dispatch, and the click that closes it never reaching the window under it.
TEST_F(ModalLoopTest, FilterSeesKeysAndOutsideClicksBeforeDispatchAndCanEndTheLoop) {
  HWND frame = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  SetFocus(frame);
  int paintedUnderMenu = 0;
  HWND menu = Create(WS_POPUP, {100, 100, 180, 160}, frame, On(WM_APP, [&](WPARAM) { ++paintedUnderMenu; }));
  ShowWindow(menu, SW_SHOWNOACTIVATE);
  Pump();
  ASSERT_EQ(GetActiveWindow(), frame);
  ClearLog();

  std::vector<UINT> seen;
  BOOL frameEnabledInside = FALSE;
  InjectKey(VK_DOWN);
  PostMessageA(menu, WM_APP, 0, 0);
  Mouse(qm::ui::InputKind::MouseDown, {20, 20});  // on the frame, outside the menu

  EXPECT_TRUE(RunModalLoop(nullptr, menu, [] { return true; }, [&](MSG& msg) {
    frameEnabledInside = IsWindowEnabled(frame);
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
      seen.push_back(msg.message);
      EXPECT_EQ(msg.hwnd, frame) << "keys come addressed to the focused window";
      EXPECT_EQ(msg.wParam, WPARAM(VK_DOWN));
      return ModalFilterResult::Handled;
    }
    if (msg.message == WM_LBUTTONDOWN) {
      seen.push_back(msg.message);
      EXPECT_EQ(msg.hwnd, frame);
      return ModalFilterResult::EndLoop;
    }
    return ModalFilterResult::Dispatch;
  }));

  EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_LBUTTONDOWN}));
  EXPECT_TRUE(frameEnabledInside) << "no owner given: nothing is disabled";
  EXPECT_EQ(paintedUnderMenu, 1) << "messages the filter lets through are dispatched";
  EXPECT_TRUE(Messages(frame, WM_KEYDOWN).empty());
  EXPECT_TRUE(Messages(frame, WM_LBUTTONDOWN).empty()) << "the closing click is not dispatched";
  EXPECT_EQ(GetActiveWindow(), frame);
  EXPECT_TRUE(IsWindow(menu)) << "the caller closes its window";
}

}  // namespace
}  // namespace qm::test
