// Tests of controls and dialogs: on the shared screen fixture, a parent
// window that records the notifications its controls send, keyboard and
// mouse input through InjectInput, steps played at the idle points of modal
// loops, and the client area as the screen shows it. Header-only.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/user/IdleHook.h"
#include "support/ScreenTest.h"

namespace qm::test {

struct Notification {
  int id;
  WORD code;
  HWND control;
};

class UiTest : public ScreenTest {
 public:
  static inline std::vector<Notification> notifications;
  static inline HBRUSH parentStaticBrush = nullptr;

 public:
  void SetUp() override {
    ScreenTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(RegisterParentClass("QmTestParent", ParentProc));
    notifications.clear();
    parentStaticBrush = nullptr;
  }

  void TearDown() override {
    ui::user::SetIdleHook({});
    for (HWND parent : parents)
      if (IsWindow(parent)) DestroyWindow(parent);
    ScreenTest::TearDown();
  }

  // A class of parent windows on the dialog face, registered once a process.
  static void RegisterParentClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(nullptr, name, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }

  HWND CreateParent(RECT rect = {100, 100, 560, 420}) {
    HWND parent = CreateWindowExA(0, "QmTestParent", "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    parents.push_back(parent);
    Pump();
    return parent;
  }

  static HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, RECT rect, int id,
                            DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
  }

  static void InjectKey(UINT key, bool shift = false, bool alt = false) {
    ui::InputEvent down;
    down.kind = ui::InputKind::KeyDown;
    down.virtualKey = key;
    down.shift = shift;
    down.alt = alt;
    ui::InjectInput(down);
    ui::InputEvent up = down;
    up.kind = ui::InputKind::KeyUp;
    ui::InjectInput(up);
  }

  static void Key(UINT key, HWND dialog = nullptr, bool shift = false, bool alt = false) {
    InjectKey(key, shift, alt);
    Pump(dialog);
  }

  static void InjectText(const std::string& text) {
    ui::InputEvent event;
    event.kind = ui::InputKind::Text;
    event.text = text;
    ui::InjectInput(event);
  }

  static void Type(const std::string& text, HWND dialog = nullptr) {
    InjectText(text);
    Pump(dialog);
  }

  static void InjectClickAt(POINT screen) {
    ui::InputEvent event;
    event.point = screen;
    event.kind = ui::InputKind::MouseMove;
    ui::InjectInput(event);
    event.kind = ui::InputKind::MouseDown;
    ui::InjectInput(event);
    event.kind = ui::InputKind::MouseUp;
    ui::InjectInput(event);
  }

  static POINT CentreOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  static void Click(HWND control, HWND dialog = nullptr) {
    InjectClickAt(CentreOf(control));
    Pump(dialog);
  }

  // Where the close box of a captioned window is.
  static POINT CloseBoxOf(HWND window) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    int frame = origin.x - outer.left;
    return POINT{outer.right - frame - 2 - 8, outer.top + frame + 2 + 7};
  }

  // Runs one step each time a message loop would wait for input; a loop
  // that waits when no step is left fails the test and is ended with
  // WM_QUIT instead of hanging.
  static void PlayWhenIdle(std::vector<std::function<void()>> steps) {
    auto queue = std::make_shared<std::deque<std::function<void()>>>(steps.begin(), steps.end());
    ui::user::SetIdleHook([queue](const ui::user::IdlePoint& point) {
      if (!point.programWaits) return ui::user::IdleResult::Nothing;
      if (queue->empty()) {
        ADD_FAILURE() << "a message loop waits for input and no step is left";
        ui::user::SetIdleHook({});
        PostQuitMessage(1);
        return ui::user::IdleResult::Progress;
      }
      auto step = std::move(queue->front());
      queue->pop_front();
      step();
      return ui::user::IdleResult::Progress;
    });
  }

  static std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
  }

  static HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (TextOf(child) == text) return child;
    ADD_FAILURE() << "no control with the text \"" << text << "\"";
    return nullptr;
  }

  static std::vector<Notification> NotificationsFrom(int id) {
    std::vector<Notification> found;
    for (const Notification& n : notifications)
      if (n.id == id) found.push_back(n);
    return found;
  }

  // A window's client area as the composed screen shows it.
  struct ClientPicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const {
      if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
      return pixels[static_cast<size_t>(y) * width + x];
    }
    int Count(RECT area, COLORREF color) const {
      int count = 0;
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += At(x, y) == color;
      return count;
    }
    int Count(COLORREF color) const { return Count(RECT{0, 0, width, height}, color); }
  };

  static ClientPicture Capture(HWND hwnd) {
    UpdateWindow(GetAncestorRoot(hwnd));
    Pump();
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const ui::Surface& screen = ui::ScreenSurface();
    ClientPicture picture{client.right, client.bottom, {}};
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        picture.pixels.push_back(screen.Contains(origin.x + x, origin.y + y)
                                     ? ui::ColorFromPixel(screen.At(origin.x + x, origin.y + y))
                                     : CLR_INVALID);
    return picture;
  }

 private:
  std::vector<HWND> parents;

  static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
      notifications.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
      return 0;
    }
    if (message == WM_CTLCOLORSTATIC && parentStaticBrush) return reinterpret_cast<LRESULT>(parentStaticBrush);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
};

}  // namespace qm::test
