// Minimized, maximized and restored top-level windows. A minimized window
// keeps its size and WS_VISIBLE but moves off the screen, as the classic
// desktop parks it; the windows it owns hide with it and come back with it.
// Minimizing the host's main window minimizes the host window too.
#include <vector>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/HostWindow.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

namespace {

constexpr int ParkedPosition = -32000;

void Place(HWND hwnd, const RECT& r) { MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE); }

void HideOwnedWindows(HWND owner) {
  std::vector<HWND> tops = Wm().topLevels;
  for (HWND top : tops) {
    Window* w = Find(top);
    if (!w || !w->IsVisibleFlag() || !IsOwnedBy(top, owner)) continue;
    ShowWindow(top, SW_HIDE);
    if ((w = Find(top))) w->hiddenWithOwner = true;
  }
}

void ShowOwnedWindows(HWND owner) {
  std::vector<HWND> tops = Wm().topLevels;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    Window* w = Find(*it);
    if (!w || !w->hiddenWithOwner || !IsOwnedBy(*it, owner)) continue;
    w->hiddenWithOwner = false;
    ShowWindow(*it, SW_SHOWNA);
  }
}

}  // namespace

void MinimizeWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->IsChild() || w->minimized) return;
  HWND active = Wm().active;
  w->lastActivePopup = (active == hwnd || IsOwnedBy(active, hwnd)) ? active : nullptr;
  bool wasActive = w->lastActivePopup != nullptr;
  HideOwnedWindows(hwnd);
  if (!(w = Find(hwnd))) return;
  w->unminimizedRect = w->rect;
  w->minimized = true;
  w->style |= WS_MINIMIZE;
  MarkFrameDirty(*w);
  Place(hwnd, {ParkedPosition, ParkedPosition, ParkedPosition + (w->rect.right - w->rect.left),
               ParkedPosition + (w->rect.bottom - w->rect.top)});
  if (wasActive || Wm().active == hwnd) ActivateAnotherThan(hwnd);
  if (hwnd == HostMainWindow()) qm::ui::Display().Minimize();
}

void MaximizeWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->IsChild()) return;
  if (w->minimized) RestoreWindow(hwnd);
  if (!(w = Find(hwnd)) || w->maximized) return;
  w->normalRect = w->rect;
  w->maximized = true;
  w->style |= WS_MAXIMIZE;
  MarkFrameDirty(*w);
  RECT work = qm::ui::Display().WorkArea();
  int frame = NonClientInsets(*w).left;
  Place(hwnd, {work.left - frame, work.top - frame, work.right + frame, work.bottom + frame});
}

bool RestoreWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->IsChild()) return false;
  if (w->minimized) {
    w->minimized = false;
    w->style &= ~WS_MINIMIZE;
    MarkFrameDirty(*w);
    Place(hwnd, w->unminimizedRect);
    ShowOwnedWindows(hwnd);
    if (!(w = Find(hwnd))) return true;
    // Back to the window the user left: the popup that was active, else the
    // window itself, else (disabled under a modal dialog) that dialog.
    HWND target = IsActivatable(w->lastActivePopup) ? w->lastActivePopup : hwnd;
    if (!IsActivatable(target)) target = EnabledPopupOf(hwnd);
    w->lastActivePopup = nullptr;
    if (target) ActivateWindow(target, WA_ACTIVE);
    return true;
  }
  if (w->maximized) {
    w->maximized = false;
    w->style &= ~WS_MAXIMIZE;
    MarkFrameDirty(*w);
    Place(hwnd, w->normalRect);
  }
  return false;
}

}  // namespace qm::ui::user

BOOL IsIconic(HWND hwnd) {
  qm::ui::user::Window* w = qm::ui::user::Find(hwnd);
  return w && w->minimized;
}
