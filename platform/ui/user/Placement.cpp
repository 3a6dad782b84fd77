// Showing, hiding, moving, sizing and restacking windows.
#include <algorithm>

#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

RECT ScreenRectOf(const Window& w) {
  POINT origin = WindowOriginOnScreen(w);
  return {origin.x, origin.y, origin.x + (w.rect.right - w.rect.left), origin.y + (w.rect.bottom - w.rect.top)};
}

}  // namespace

namespace {

void MarkWindowArea(Window& w) {
  if (!IsShown(w)) return;
  MarkScreenDirty(ScreenRectOf(w));
  if (w.IsChild()) {
    if (Window* parent = Find(w.parent)) {
      RECT inParent = w.rect;
      InvalidateWindow(*parent, &inParent, true, false);
    }
  }
}

void PlaceWindow(HWND hwnd, RECT newRect, bool notify) {
  Window* w = Find(hwnd);
  if (!w) return;
  RECT old = w->rect;
  bool moved = old.left != newRect.left || old.top != newRect.top;
  bool sized = (old.right - old.left) != (newRect.right - newRect.left) ||
               (old.bottom - old.top) != (newRect.bottom - newRect.top);
  if (!moved && !sized) return;
  MarkWindowArea(*w);
  w->rect = newRect;
  if (!w->IsChild() && sized) w->surface.reset();
  InvalidateTree(*w, true);
  MarkWindowArea(*w);
  if (!notify) return;
  if (moved) {
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    if (w->IsChild()) ScreenToClient(w->parent, &client);
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(client.x), WORD(client.y)));
  }
  if (sized && Find(hwnd)) {
    RECT clientRect;
    GetClientRect(hwnd, &clientRect);
    WPARAM kind = Find(hwnd)->maximized ? 2 : 0;  // SIZE_MAXIMIZED : SIZE_RESTORED
    SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(WORD(clientRect.right), WORD(clientRect.bottom)));
  }
}

void ShowNow(HWND hwnd, bool show) {
  Window* w = Find(hwnd);
  if (!w || w->IsVisibleFlag() == show) return;
  SendMessageA(hwnd, WM_SHOWWINDOW, show, 0);
  if (!(w = Find(hwnd))) return;
  if (show) {
    w->style |= WS_VISIBLE;
    InvalidateTree(*w, true);
    MarkWindowArea(*w);
  } else {
    MarkWindowArea(*w);
    w->style &= ~WS_VISIBLE;
    auto& wm = Wm();
    if (wm.capture && (wm.capture == hwnd || IsDescendant(hwnd, wm.capture))) ReleaseCapture();
    if (wm.focus && (wm.focus == hwnd || IsDescendant(hwnd, wm.focus))) {
      if (w->IsChild()) SetFocus(w->parent);
    }
    if (wm.active == hwnd) ActivateAnotherThan(hwnd);
  }
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  BOOL wasVisible = w->IsVisibleFlag() ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      ShowNow(hwnd, false);
      return wasVisible;
    case SW_SHOWMAXIMIZED:
      MaximizeWindow(hwnd);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      ShowNow(hwnd, true);
      MinimizeWindow(hwnd);
      return wasVisible;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      // Coming back from minimized activates the window the user left.
      if (RestoreWindow(hwnd)) return wasVisible;
      break;
    default:
      break;
  }
  ShowNow(hwnd, true);
  w = Find(hwnd);
  bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINIMIZED;
  if (w && !w->IsChild() && activate && !(w->style & WS_DISABLED)) ActivateWindow(hwnd, WA_ACTIVE);
  return wasVisible;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  if (!Find(hwnd)) return FALSE;
  PlaceWindow(hwnd, {x, y, x + width, y + height}, true);
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) r = {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
  if (!(flags & SWP_NOSIZE)) r.right = r.left + cx, r.bottom = r.top + cy;
  PlaceWindow(hwnd, r, true);
  if (!(w = Find(hwnd))) return TRUE;
  if (!(flags & SWP_NOZORDER)) {
    if (w->IsChild()) {
      Window* parent = Find(w->parent);
      auto& siblings = parent->children;
      std::erase(siblings, hwnd);
      if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(hwnd);
      } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        siblings.insert(siblings.begin(), hwnd);
      } else {
        auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
        siblings.insert(it == siblings.end() ? siblings.end() : it + 1, hwnd);
      }
      InvalidateTree(*w, true);
    } else if (insertAfter == HWND_TOPMOST) {
      w->exStyle |= WS_EX_TOPMOST;
      BringToTop(hwnd);
    } else if (insertAfter == HWND_NOTOPMOST) {
      w->exStyle &= ~WS_EX_TOPMOST;
    } else if (insertAfter == HWND_TOP) {
      BringToTop(hwnd);
    }
    MarkWindowArea(*w);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if ((flags & SWP_FRAMECHANGED) && (w = Find(hwnd))) InvalidateTree(*w, true);
  return TRUE;
}
