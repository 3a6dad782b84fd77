#include <cstring>

#include "WindowTestSupport.h"

namespace qm::test {
namespace {

using WindowLifetimeTest = WindowTest;

TEST_F(WindowLifetimeTest, CreationPassesTheCreateStructAndCanBeRefused) {
  LPVOID seen = nullptr;
  std::string seenName;
  HWND hwnd = CreateWindowExA(0, "TestWindow", "Title", WS_POPUP, 1, 2, 30, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  std::vector<UINT> first;
  for (const auto& m : log_)
    if (m.hwnd == hwnd && first.size() < 3) first.push_back(m.message);
  EXPECT_EQ(first, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE}));
  DestroyWindow(hwnd);

  auto checkCreate = [&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_CREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
      seen = create->lpCreateParams;
      seenName = create->lpszName;
      EXPECT_EQ(create->x, 5);
      EXPECT_EQ(create->cy, 30);
    }
    return std::nullopt;
  };
  HWND checked = Create(WS_POPUP, {5, 6, 25, 36}, nullptr, checkCreate, 0, 0, "Named");
  EXPECT_EQ(seen, nullptr);
  EXPECT_EQ(seenName, "Named");
  char text[32];
  EXPECT_EQ(GetWindowTextA(checked, text, sizeof text), 5);
  EXPECT_STREQ(text, "Named");

  EXPECT_EQ(Create(WS_POPUP, {0, 0, 10, 10}, nullptr, Answer(WM_CREATE, -1)), nullptr);
}

TEST_F(WindowLifetimeTest, DestroyReachesParentAndChildrenInOrder) {
  HWND parent = Create(WS_POPUP, {0, 0, 100, 100});
  HWND child = Create(WS_CHILD, {0, 0, 10, 10}, parent, {}, 5);
  HWND grandchild = Create(WS_CHILD, {0, 0, 5, 5}, child, {}, 6);
  HWND owned = Create(WS_POPUP, {0, 0, 10, 10}, parent);
  ClearLog();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& m : log_)
    if (m.message == WM_DESTROY || m.message == WM_NCDESTROY) order.emplace_back(m.hwnd, m.message);
  std::vector<std::pair<HWND, UINT>> expected{
      {owned, WM_DESTROY},      {owned, WM_NCDESTROY},      {parent, WM_DESTROY},  {child, WM_DESTROY},
      {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  for (HWND h : {parent, child, grandchild, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(parent)) << "a destroyed handle stays invalid";
}

// The pattern of a modeless window object that frees itself when its window goes.
TEST_F(WindowLifetimeTest, ObjectDeletingItselfOnNcDestroyIsNotTouchedAfterwards) {
  struct SelfDeleting {
    bool* deleted;
    ~SelfDeleting() { *deleted = true; }
  };
  bool deleted = false;
  auto* object = new SelfDeleting{&deleted};
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 20, 20}, nullptr, On(WM_NCDESTROY, [&](WPARAM) { delete object; }));
  Pump();
  PostMessageA(hwnd, WM_APP, 0, 0);
  DestroyWindow(hwnd);
  EXPECT_TRUE(deleted);
  Pump();  // the message posted to the dead window is dropped
  EXPECT_TRUE(Messages(hwnd, WM_APP).empty());
}

TEST_F(WindowLifetimeTest, HandlersDestroyingTheirOwnDyingWindowDoNotDestroyItTwice) {
  for (UINT trigger : {UINT(WM_ACTIVATE), UINT(WM_DESTROY), UINT(WM_NCACTIVATE)}) {
    SCOPED_TRACE(trigger);
    HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND dialog = Create(WS_POPUP | WS_VISIBLE, {10, 10, 50, 50}, owner,
                         [trigger](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                           bool leaving = m == WM_DESTROY || LOWORD(w) == WA_INACTIVE;
                           if (m == trigger && leaving) DestroyWindow(h);
                           return std::nullopt;
                         });
    ClearLog();
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_EQ(Messages(dialog, WM_NCDESTROY).size(), 1u);
    EXPECT_EQ(GetActiveWindow(), owner);
    DestroyWindow(owner);
  }
}

TEST_F(WindowLifetimeTest, WindowProcedureCanBeSubclassedAndForwarded) {
  static WNDPROC original = nullptr;
  static int seenBySubclass = 0;
  HWND hwnd = Create(WS_POPUP, {0, 0, 10, 10});
  WNDPROC subclass = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_APP) {
      ++seenBySubclass;
      return 99;
    }
    return CallWindowProcA(original, h, m, w, l);
  };
  original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass)));
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclass));
  ClearLog();
  EXPECT_EQ(SendMessageA(hwnd, WM_APP, 0, 0), 99);
  SendMessageA(hwnd, WM_APP + 1, 0, 0);
  EXPECT_EQ(seenBySubclass, 1);
  EXPECT_TRUE(Messages(hwnd, WM_APP).empty());
  EXPECT_EQ(Messages(hwnd, WM_APP + 1).size(), 1u) << "forwarded to the original procedure";
}

TEST_F(WindowLifetimeTest, ExtraBytesHoldValuesAndRejectIndexesPastTheEnd) {
  HWND hwnd = Create(WS_POPUP, {0, 0, 10, 10});
  SetWindowLongPtrA(hwnd, DWLP_USER, 0x123456789ABLL);
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 7);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, DWLP_USER), 0x123456789ABLL);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, DWLP_MSGRESULT), 7);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, DLGWINDOWEXTRA - 4), 0) << "a pointer would not fit";
  EXPECT_EQ(SetWindowLongPtrA(hwnd, DLGWINDOWEXTRA, 1), 0);
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_CAPTION));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), WS_POPUP | WS_CAPTION);
}

TEST_F(WindowLifetimeTest, RelativesAndChildOrder) {
  HWND owner = Create(WS_POPUP, {0, 0, 100, 100});
  HWND popup = Create(WS_POPUP, {0, 0, 10, 10}, owner);
  HWND first = Create(WS_CHILD, {0, 0, 10, 10}, owner, {}, 1);
  HWND second = Create(WS_CHILD, {0, 0, 10, 10}, owner, {}, 2);
  EXPECT_EQ(GetParent(first), owner);
  EXPECT_EQ(GetParent(popup), owner) << "a popup's parent is its owner";
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetWindow(owner, GW_CHILD), first) << "children keep creation order";
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
  EXPECT_TRUE(IsChild(owner, second));
  EXPECT_FALSE(IsChild(owner, popup));
  EXPECT_EQ(GetAncestorRoot(second), owner);
  EXPECT_EQ(GetWindowLongPtrA(second, GWLP_ID), 2);
}

TEST_F(WindowLifetimeTest, GeometryOfFramedWindows) {
  HWND hwnd = Create(WS_POPUP | WS_CAPTION, {100, 50, 300, 250});
  const int frameX = GetSystemMetrics(SM_CXDLGFRAME), frameY = GetSystemMetrics(SM_CYDLGFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(WindowRect(hwnd).left, 100);
  EXPECT_EQ(ClientRect(hwnd).right, 200 - 2 * frameX);
  EXPECT_EQ(ClientRect(hwnd).bottom, 200 - 2 * frameY - caption);
  HWND child = Create(WS_CHILD | WS_VISIBLE, {10, 20, 30, 40}, hwnd);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(XY(p), XY({100 + frameX + 10, 50 + frameY + caption + 20}));
  MapWindowPoints(nullptr, hwnd, &p, 1);
  EXPECT_EQ(XY(p), XY({10, 20}));
}

TEST_F(WindowLifetimeTest, MaximizedWindowCoversTheWorkAreaWithItsFrameOutside) {
  HWND hwnd = Create(WS_POPUP | WS_OVERLAPPEDWINDOW,
                     {0, 0, GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)});
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  const RECT r = WindowRect(hwnd);
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(r.left, -frame);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(r.right - r.left, 640 + 2 * frame);
}

}  // namespace
}  // namespace qm::test
