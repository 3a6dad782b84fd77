#include <functional>
#include <thread>

#include "WindowTestSupport.h"

namespace qm::test {
namespace {

using MessageLoopTest = WindowTest;

TEST_F(MessageLoopTest, PostedMessagesComeBeforeQuitAndQuitCarriesItsCode) {
  PostMessageA(nullptr, WM_APP, 1, 2);
  PostQuitMessage(7);
  PostMessageA(nullptr, WM_APP + 1, 0, 0);
  MSG msg;
  for (UINT posted : {WM_APP, WM_APP + 1}) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, posted);
  }
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "WM_QUIT is handed out once";
}

TEST_F(MessageLoopTest, PeekWithoutRemoveLeavesTheMessageAndFiltersSkipOthers) {
  PostMessageA(nullptr, WM_APP, 0, 0);
  PostMessageA(nullptr, WM_USER + 5, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 5);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_APP);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoopTest, GetMessageForAWindowThatIsGoneFailsInsteadOfWaitingForever) {
  HWND hwnd = Create(WS_POPUP, {0, 0, 10, 10});
  DestroyWindow(hwnd);
  MSG msg;
  EXPECT_EQ(GetMessageA(&msg, hwnd, 0, 0), -1);
}

TEST_F(MessageLoopTest, PostFromAnotherThreadWakesAWaitingLoop) {
  std::thread poster([] { PostMessageA(nullptr, WM_APP + 3, 42, 0); });
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  poster.join();
  EXPECT_EQ(msg.message, WM_APP + 3);
  EXPECT_EQ(msg.wParam, 42u);
}

TEST_F(MessageLoopTest, PaintComesOnlyWhenNothingElseIsQueued) {
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Pump();
  ClearLog();
  InvalidateRect(hwnd, nullptr, TRUE);
  PostMessageA(hwnd, WM_APP, 0, 0);
  PostMessageA(hwnd, WM_APP + 1, 0, 0);
  Pump();
  std::vector<UINT> order;
  for (const auto& m : log_)
    if (m.message == WM_APP || m.message == WM_APP + 1 || m.message == WM_PAINT) order.push_back(m.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_APP, WM_APP + 1, WM_PAINT}));
  EXPECT_EQ(Messages(hwnd, WM_ERASEBKGND).size(), 1u);
}

TEST_F(MessageLoopTest, HiddenWindowsAreNotPaintedUntilShown) {
  HWND hwnd = Create(WS_POPUP, {0, 0, 50, 50});
  InvalidateRect(hwnd, nullptr, TRUE);
  Pump();
  EXPECT_TRUE(Messages(hwnd, WM_PAINT).empty());
  ShowWindow(hwnd, SW_SHOW);
  Pump();
  EXPECT_EQ(Messages(hwnd, WM_PAINT).size(), 1u);
}

TEST_F(MessageLoopTest, ParentPaintsBeforeItsChildren) {
  HWND parent = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND child = Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, parent);
  Pump();
  ClearLog();
  InvalidateRect(parent, nullptr, TRUE);
  Pump();
  std::vector<HWND> painted;
  for (const LoggedMessage& m : Messages(nullptr, WM_PAINT)) painted.push_back(m.hwnd);
  EXPECT_EQ(painted, (std::vector<HWND>{parent, child}))
      << "repainting the parent covers the child, so it repaints too";
}

// The search for the next window to paint paints frames on its way, and a
// frame's handler may destroy windows the search has yet to visit: the
// search goes on over the windows that are left, each of which still gets
// its paint.
TEST_F(MessageLoopTest, AFramePaintThatDestroysWindowsLeavesTheRestToBePainted) {
  HWND parent = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND first = Create(WS_CHILD | WS_VISIBLE, {0, 0, 20, 20}, parent);
  HWND doomed = Create(WS_CHILD | WS_VISIBLE, {30, 0, 60, 30}, parent);
  HWND doomedChild = Create(WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, doomed);
  HWND last = Create(WS_CHILD | WS_VISIBLE, {0, 150, 20, 170}, parent);
  bool armed = false;
  HWND framed = Create(WS_CHILD | WS_VISIBLE | WS_CAPTION, {70, 0, 170, 60}, parent,
                       [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                         if (message == WM_NCPAINT && armed && IsWindow(doomed)) {
                           DestroyWindow(doomed);
                           DestroyWindow(last);
                         }
                         return std::nullopt;
                       });
  Pump();
  ClearLog();
  armed = true;
  for (HWND hwnd : {first, doomedChild, last}) InvalidateRect(hwnd, nullptr, TRUE);
  SetWindowTextA(framed, "frame only");
  Pump();
  EXPECT_FALSE(IsWindow(doomed));
  EXPECT_FALSE(IsWindow(doomedChild));
  EXPECT_EQ(Messages(first, WM_PAINT).size(), 1u);
  EXPECT_EQ(Messages(framed, WM_NCPAINT).size(), 1u);
}

// Once a pump has found nothing to paint, the loop does not search again
// until something is invalidated: every way of invalidating a window or its
// frame must bring its paint all the same.
TEST_F(MessageLoopTest, AWindowInvalidatedAfterAQuietPumpIsStillPainted) {
  HWND plain = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND captioned = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {120, 0, 320, 150});
  HWND hidden = Create(WS_POPUP, {0, 200, 50, 250});
  HWND child = Create(WS_CHILD | WS_VISIBLE, {10, 10, 40, 40}, plain);
  struct Row {
    const char* change;
    std::function<void()> make;
    HWND hwnd;
    UINT message;
  } rows[] = {
      {"a rectangle invalidated", [&] { InvalidateRect(plain, nullptr, TRUE); }, plain, WM_PAINT},
      {"a child's rectangle invalidated", [&] { InvalidateRect(child, nullptr, FALSE); }, child, WM_PAINT},
      {"a caption's text changed", [&] { SetWindowTextA(captioned, "renamed"); }, captioned, WM_NCPAINT},
      {"a window maximized", [&] { ShowWindow(captioned, SW_MAXIMIZE); }, captioned, WM_NCPAINT},
      {"and restored", [&] { ShowWindow(captioned, SW_RESTORE); }, captioned, WM_NCPAINT},
      {"a window invalidated while hidden, then shown",
       [&] {
         InvalidateRect(hidden, nullptr, TRUE);
         Pump();
         ShowWindow(hidden, SW_SHOWNA);
       },
       hidden, WM_PAINT},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.change);
    Pump();
    ClearLog();
    row.make();
    Pump();
    EXPECT_FALSE(Messages(row.hwnd, row.message).empty());
  }
}

TEST_F(MessageLoopTest, PaintHandlerWithoutBeginPaintIsNotAskedForever) {
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50}, nullptr, Answer(WM_PAINT, 0));
  Pump();
  EXPECT_EQ(Messages(hwnd, WM_PAINT).size(), 1u);
}

// A handler drains the queue (as a long copy does), a message met in the
// drain opens a modal loop, and that loop ends through a later message: each
// level sees its messages in order and control returns level by level.
TEST_F(MessageLoopTest, ModalLoopNestsInsideADrainInsideAHandler) {
  std::vector<std::string> trace;
  bool modalDone = false;
  HWND hwnd = Create(WS_POPUP, {0, 0, 10, 10}, nullptr, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_APP) {
      trace.push_back("work starts");
      PostMessageA(h, WM_APP + 1, 0, 0);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      trace.push_back("work ends");
      PostQuitMessage(3);
      return 0;
    }
    if (m == WM_APP + 1) {
      trace.push_back("modal opens");
      PostMessageA(h, WM_APP + 2, 0, 0);
      MSG msg;
      while (!modalDone && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
      trace.push_back("modal closed");
      return 0;
    }
    if (m == WM_APP + 2) {
      trace.push_back("button pressed");
      modalDone = true;
      return 0;
    }
    return std::nullopt;
  });
  PostMessageA(hwnd, WM_APP, 0, 0);
  MSG msg;
  int dispatched = 0;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    DispatchMessageA(&msg);
    ++dispatched;
  }
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(dispatched, 1);
  EXPECT_EQ(trace, (std::vector<std::string>{"work starts", "modal opens", "button pressed", "modal closed",
                                             "work ends"}));
}

TEST_F(MessageLoopTest, TimerMessagesArriveWhenDueAndStopWhenKilled) {
  HWND hwnd = Create(WS_POPUP, {0, 0, 10, 10});
  ASSERT_EQ(SetTimer(hwnd, 5, 0, nullptr), 5u);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_TRUE(KillTimer(hwnd, 5));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(MessageLoopTest, TranslateMessageMakesCharactersFromKeys) {
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  Pump();
  SetFocus(hwnd);
  struct Row {
    UINT key;
    bool alt;
    bool shift;
    UINT expectedMessage;
    WPARAM expectedCode;
  } rows[] = {
      {VK_RETURN, false, false, WM_CHAR, '\r'},
      {VK_ESCAPE, false, false, WM_CHAR, 27},
      {VK_BACK, false, false, WM_CHAR, 8},
      {'N', true, false, WM_SYSCHAR, 'n'},
      {'N', true, true, WM_SYSCHAR, 'N'},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    ClearLog();
    Key(row.key, row.alt, row.shift);
    EXPECT_EQ(WParams(hwnd, row.expectedMessage), std::vector<WPARAM>{row.expectedCode});
  }
  ClearLog();
  Type("a\xC3\xA9");  // "aé"
  EXPECT_EQ(WParams(hwnd, WM_CHAR), (std::vector<WPARAM>{'a', 0xE9}));
}

}  // namespace
}  // namespace qm::test
