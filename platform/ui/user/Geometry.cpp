// Window geometry: frames and client areas, system metrics, coordinate
// mapping and hit testing.
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
  // Scroll bars sit inside the border and the client edge.
  int right = frame + ((w.style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  int bottom = frame + ((w.style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  return {frame, top, right, bottom};
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
    case SM_CXSIZE:
    case SM_CYSIZE: return CaptionHeight;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
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
  return w && w->maximized && !w->minimized;
}

