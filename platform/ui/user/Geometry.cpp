// Window geometry: frames and client areas, system metrics, coordinate
// mapping, hit testing, moving, sizing and showing windows.
#include <algorithm>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

constexpr int BorderWidth = 1;
constexpr int DialogFrameWidth = 3;
constexpr int ThickFrameWidth = 4;

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT Offset(RECT r, POINT by) { return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT ScreenRectOf(const Window& w) {
  POINT origin = WindowOriginOnScreen(w);
  return {origin.x, origin.y, origin.x + (w.rect.right - w.rect.left), origin.y + (w.rect.bottom - w.rect.top)};
}

// Children that take the point, topmost first; a window answering
// HTTRANSPARENT (group boxes, statics) lets the point through to the windows below.
HWND DeepestChildAt(HWND hwnd, POINT screen) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  POINT clientOrigin = ClientOriginOnScreen(*w);
  std::vector<HWND> children = w->children;
  for (HWND childHandle : children) {
    Window* child = Find(childHandle);
    if (!child || !child->IsVisibleFlag()) continue;
    if (!Contains(Offset(child->rect, clientOrigin), screen)) continue;
    if (child->style & WS_DISABLED) return hwnd;
    LRESULT hit = SendMessageA(childHandle, WM_NCHITTEST, 0, MAKELPARAM(WORD(screen.x), WORD(screen.y)));
    if (hit == HTTRANSPARENT) continue;
    return DeepestChildAt(childHandle, screen);
  }
  return hwnd;
}

}  // namespace

namespace qm::ui::user {

bool HasCaption(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION; }

RECT NonClientInsets(const Window& w) {
  int frame = 0;
  if (w.style & WS_THICKFRAME)
    frame = ThickFrameWidth;
  else if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME) || (!w.IsChild() && (w.style & DS_MODALFRAME)))
    frame = DialogFrameWidth;
  else if (w.style & WS_BORDER)
    frame = BorderWidth;
  if (w.exStyle & WS_EX_CLIENTEDGE) frame += 2;
  if (w.exStyle & WS_EX_STATICEDGE) frame += 1;
  int top = frame + (HasCaption(w) ? GetSystemMetrics(SM_CYCAPTION) : 0);
  return {frame, top, frame, frame};
}

RECT ClientRectInWindow(const Window& w) {
  RECT insets = NonClientInsets(w);
  int width = w.rect.right - w.rect.left;
  int height = w.rect.bottom - w.rect.top;
  RECT r{insets.left, insets.top, width - insets.right, height - insets.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

POINT WindowOriginInRoot(const Window& w) {
  if (!w.IsChild()) return {0, 0};
  Window* parent = Find(w.parent);
  if (!parent) return {w.rect.left, w.rect.top};
  POINT p = ClientOriginInRoot(*parent);
  return {p.x + w.rect.left, p.y + w.rect.top};
}

POINT ClientOriginInRoot(const Window& w) {
  POINT p = WindowOriginInRoot(w);
  RECT client = ClientRectInWindow(w);
  return {p.x + client.left, p.y + client.top};
}

POINT WindowOriginOnScreen(const Window& w) {
  Window* root = Find(RootOf(w.handle));
  POINT inRoot = WindowOriginInRoot(w);
  if (!root) return inRoot;
  return {root->rect.left + inRoot.x, root->rect.top + inRoot.y};
}

POINT ClientOriginOnScreen(const Window& w) {
  POINT p = WindowOriginOnScreen(w);
  RECT client = ClientRectInWindow(w);
  return {p.x + client.left, p.y + client.top};
}

RECT VisibleClipInRoot(const Window& w, bool wholeWindow) {
  RECT clip;
  if (wholeWindow) {
    POINT o = WindowOriginInRoot(w);
    clip = {o.x, o.y, o.x + (w.rect.right - w.rect.left), o.y + (w.rect.bottom - w.rect.top)};
  } else {
    clip = Offset(ClientRectInWindow(w), WindowOriginInRoot(w));
  }
  const Window* current = &w;
  while (current->IsChild()) {
    Window* parent = Find(current->parent);
    if (!parent) break;
    clip = Intersect(clip, Offset(ClientRectInWindow(*parent), WindowOriginInRoot(*parent)));
    current = parent;
  }
  return clip;
}

}  // namespace qm::ui::user

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return qm::ui::Display().ScreenSize().cx;
    case SM_CYSCREEN: return qm::ui::Display().ScreenSize().cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return CaptionHeight + 1;
    case SM_CXBORDER:
    case SM_CYBORDER: return BorderWidth;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return DialogFrameWidth;
    case SM_CXFRAME:
    case SM_CYFRAME: return ThickFrameWidth;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXMAXIMIZED: {
      RECT work = qm::ui::Display().WorkArea();
      return work.right - work.left + 2 * ThickFrameWidth;
    }
    case SM_CYMAXIMIZED: {
      RECT work = qm::ui::Display().WorkArea();
      return work.bottom - work.top + 2 * ThickFrameWidth;
    }
    default: return 0;
  }
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = FindOrDesktop(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ScreenRectOf(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = FindOrDesktop(hwnd);
  if (!w || !rect) return FALSE;
  RECT client = ClientRectInWindow(*w);
  *rect = {0, 0, client.right - client.left, client.bottom - client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  Window* w = FindOrDesktop(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  Window* w = FindOrDesktop(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT fromOrigin{0, 0}, toOrigin{0, 0};
  if (Window* w = Find(from); w && !IsDesktop(from)) fromOrigin = ClientOriginOnScreen(*w);
  if (Window* w = Find(to); w && !IsDesktop(to)) toOrigin = ClientOriginOnScreen(*w);
  int dx = fromOrigin.x - toOrigin.x, dy = fromOrigin.y - toOrigin.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(WORD(dx), WORD(dy));
}

HWND WindowFromPoint(POINT point) {
  std::vector<HWND> tops = Wm().topLevels;
  for (HWND top : tops) {
    Window* w = Find(top);
    if (!w || !w->IsVisibleFlag() || !Contains(ScreenRectOf(*w), point)) continue;
    if (!Contains(Offset(ClientRectInWindow(*w), WindowOriginOnScreen(*w)), point)) return top;
    return DeepestChildAt(top, point);
  }
  return GetDesktopWindow();
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  Window* w = FindOrDesktop(parent);
  if (!w) return nullptr;
  RECT client;
  GetClientRect(parent, &client);
  if (!Contains(client, clientPoint)) return nullptr;
  for (HWND child : w->children)
    if (Window* c = Find(child); c && Contains(c->rect, clientPoint)) return child;
  return parent;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = FindOrDesktop(hwnd);
  return w && IsShown(*w);
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->maximized;
}

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
    case SW_SHOWMAXIMIZED: {
      if (!w->IsChild() && !w->maximized) {
        w->maximized = true;
        RECT work = qm::ui::Display().WorkArea();
        RECT insets = NonClientInsets(*w);
        int frame = insets.left;
        PlaceWindow(hwnd, {work.left - frame, work.top - frame, work.right + frame, work.bottom + frame}, true);
      }
      break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      if (w->maximized) w->maximized = false;
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
