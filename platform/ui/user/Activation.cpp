// Z-order of top-level windows, activation, keyboard focus, mouse capture
// and enabling.
#include <algorithm>

#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

void MarkVisibleArea(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || !w->IsVisibleFlag()) return;
  RECT r;
  GetWindowRect(hwnd, &r);
  MarkScreenDirty(r);
}

}  // namespace

namespace qm::ui::user {

bool IsOwnedBy(HWND hwnd, HWND owner) {
  Window* w = Find(hwnd);
  for (int depth = 0; w && w->owner && depth < 64; ++depth) {
    if (w->owner == owner) return true;
    w = Find(w->owner);
  }
  return false;
}

bool IsActivatable(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !w->IsChild() && w->IsVisibleFlag() && !(w->style & WS_DISABLED) && !w->destroying && !w->minimized;
}

void BringToTop(HWND hwnd) {
  auto& list = Wm().topLevels;
  Window* w = Find(hwnd);
  if (!w || w->IsChild()) return;
  // Owned windows always stay above their owner, in their present order.
  std::vector<HWND> group;
  for (HWND top : list)
    if (IsOwnedBy(top, hwnd)) group.push_back(top);
  group.push_back(hwnd);
  std::vector<HWND> rest;
  for (HWND top : list)
    if (std::find(group.begin(), group.end(), top) == group.end()) rest.push_back(top);
  auto at = rest.begin();
  if (!(w->exStyle & WS_EX_TOPMOST))
    while (at != rest.end() && Find(*at) && (Find(*at)->exStyle & WS_EX_TOPMOST)) ++at;
  rest.insert(at, group.begin(), group.end());
  if (rest == list) return;
  list = rest;
  for (HWND moved : group) MarkVisibleArea(moved);
}

void ActivateWindow(HWND hwnd, WORD how) {
  auto& wm = Wm();
  hwnd = RootOf(hwnd);
  if (!Find(hwnd) || IsDesktop(hwnd)) return;
  if (wm.active == hwnd) {
    BringToTop(hwnd);
    return;
  }
  HWND old = wm.active;
  wm.active = hwnd;
  if (Find(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
  }
  if (wm.active != hwnd || !Find(hwnd)) return;
  BringToTop(hwnd);
  SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(Find(old) ? old : nullptr));
  // Keyboard input never goes to a window that is not in the active one.
  if (wm.active == hwnd && wm.focus && RootOf(wm.focus) != hwnd) SetFocus(nullptr);
}

void ActivateAnotherThan(HWND leaving) {
  auto& wm = Wm();
  Window* w = Find(leaving);
  HWND next = nullptr;
  if (w && IsActivatable(w->owner) && w->owner != leaving) next = w->owner;
  if (!next)
    for (HWND top : wm.topLevels)
      if (top != leaving && IsActivatable(top) && !IsOwnedBy(top, leaving)) {
        next = top;
        break;
      }
  if (next) {
    ActivateWindow(next, WA_ACTIVE);
    return;
  }
  HWND old = wm.active;
  wm.active = nullptr;
  if (Find(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (wm.focus && !wm.active) SetFocus(nullptr);
}

void ForgetWindow(HWND hwnd) {
  auto& wm = Wm();
  if (wm.active == hwnd) wm.active = nullptr;
  if (wm.focus == hwnd) wm.focus = nullptr;
  if (wm.capture == hwnd) wm.capture = nullptr;
}

HWND EnabledPopupOf(HWND hwnd) {
  for (HWND top : Wm().topLevels)
    if (IsActivatable(top) && IsOwnedBy(top, hwnd)) return top;
  return nullptr;
}

}  // namespace qm::ui::user

HWND SetFocus(HWND hwnd) {
  auto& wm = Wm();
  HWND old = wm.focus;
  if (!hwnd) {
    wm.focus = nullptr;
    if (Find(old)) SendMessageA(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  Window* w = Find(hwnd);
  if (!w || IsDesktop(hwnd)) return nullptr;
  HWND root = RootOf(hwnd);
  if (wm.active != root) {
    ActivateWindow(root, WA_ACTIVE);
    old = wm.focus;
    if (!Find(hwnd)) return nullptr;
  }
  if (Window* r = Find(root)) r->lastFocus = hwnd;
  if (old == hwnd) return old;
  if (Find(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (!Find(hwnd)) return old;
  wm.focus = hwnd;
  SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(Find(old) ? old : nullptr), 0);
  return old;
}

HWND GetFocus() { return Wm().focus; }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = Wm().active;
  if (!Find(hwnd)) return nullptr;
  ActivateWindow(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return Wm().active; }

BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || Wm().active == RootOf(hwnd); }

HWND GetForegroundWindow() { return Wm().active; }

HWND SetCapture(HWND hwnd) {
  auto& wm = Wm();
  HWND old = wm.capture;
  if (!Find(hwnd)) return old;
  wm.capture = hwnd;
  if (Find(old) && old != hwnd) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  auto& wm = Wm();
  HWND old = wm.capture;
  wm.capture = nullptr;
  if (Find(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Wm().capture; }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  auto& wm = Wm();
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (wm.focus && (wm.focus == hwnd || IsDescendant(hwnd, wm.focus))) SetFocus(nullptr);
    if (wm.capture && (wm.capture == hwnd || IsDescendant(hwnd, wm.capture))) ReleaseCapture();
  }
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  if ((w = Find(hwnd))) InvalidateTree(*w, true);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = FindOrDesktop(hwnd);
  return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}
