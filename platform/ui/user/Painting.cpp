// Invalid regions, paint messages and device contexts for windows. A window
// draws into the surface of its top-level window, at its own offset and
// clipped to its client area and its ancestors'; what a DC drew becomes a
// dirty rectangle of the screen.
#include <algorithm>

#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

constexpr std::uint32_t NewSurfaceFill = 0xFFC0C0C0;

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmpty(r)) return {0, 0, 0, 0};
  return r;
}

RECT ClientBounds(const Window& w) {
  RECT c = ClientRectInWindow(w);
  return {0, 0, c.right - c.left, c.bottom - c.top};
}

HWND SearchPaint(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || !w->IsVisibleFlag()) return nullptr;
  if (w->hasUpdate) return hwnd;
  if (w->frameDirty) PaintFrameNow(*w);
  // Bottom of the z-order first, so the topmost sibling ends up on top. A
  // frame painted below may have changed anything, this window's children
  // or the window itself: both are looked at again after every child, so
  // the search of a window where nothing waits copies nothing.
  for (std::size_t i = w->children.size(); i-- > 0;) {
    if (HWND found = SearchPaint(w->children[i])) return found;
    if ((w = Find(hwnd)) == nullptr) return nullptr;
    i = std::min(i, w->children.size());
  }
  return nullptr;
}

void PaintTreeNow(HWND hwnd) {
  UpdateWindow(hwnd);
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintTreeNow(*it);
}

}  // namespace

namespace qm::ui::user {

void InvalidateWindow(Window& w, const RECT* clientRect, bool erase, bool frame) {
  RECT bounds = ClientBounds(w);
  RECT area = clientRect ? Intersect(*clientRect, bounds) : bounds;
  if (!IsEmpty(area)) {
    w.update = w.hasUpdate ? Union(w.update, area) : area;
    w.hasUpdate = true;
    w.updateErase = w.updateErase || erase;
    Wm().paintMayWait = true;
  }
  if (frame) MarkFrameDirty(w);
  if (IsEmpty(area)) return;
  // Children share the top-level surface, so whatever the parent repaints
  // covers them: they repaint after it. The parent repaints its whole
  // accumulated update rectangle, which can reach beyond the areas
  // invalidated one by one, so the children are matched against that.
  for (HWND childHandle : w.children) {
    Window* child = Find(childHandle);
    if (!child) continue;
    RECT overlap = Intersect(w.update, child->rect);
    if (IsEmpty(overlap)) continue;
    RECT client = ClientRectInWindow(*child);
    int dx = child->rect.left + client.left, dy = child->rect.top + client.top;
    RECT inChild{overlap.left - dx, overlap.top - dy, overlap.right - dx, overlap.bottom - dy};
    bool hasFrame = client.left > 0 || client.top > 0 || client.right < child->rect.right - child->rect.left ||
                    client.bottom < child->rect.bottom - child->rect.top;
    InvalidateWindow(*child, &inChild, w.updateErase, hasFrame);
  }
}

void InvalidateTree(Window& w, bool erase) {
  InvalidateWindow(w, nullptr, erase, true);
  for (HWND child : w.children)
    if (Window* c = Find(child)) InvalidateTree(*c, erase);
}

void MarkFrameDirty(Window& w) {
  w.frameDirty = true;
  Wm().paintMayWait = true;
}

HWND NextWindowToPaint(HWND filter) {
  WindowManager& wm = Wm();
  if (!wm.paintMayWait) return nullptr;
  if (filter && !IsDesktop(filter)) {
    Window* w = Find(filter);
    return (w && IsShown(*w)) ? SearchPaint(filter) : nullptr;
  }
  // Cleared before the search: a frame painted on the way may invalidate a
  // window the search has passed, which sets it again.
  wm.paintMayWait = false;
  const std::vector<HWND>& tops = wm.topLevels;
  for (std::size_t i = 0; i < tops.size(); ++i)
    if (HWND found = SearchPaint(tops[i])) {
      wm.paintMayWait = true;
      return found;
    }
  return nullptr;
}

void PaintFrameNow(Window& w) {
  w.frameDirty = false;
  SendMessageA(w.handle, WM_NCPAINT, 1, 0);
}

void EnsureSurface(Window& w) {
  int width = std::max<LONG>(1, w.rect.right - w.rect.left);
  int height = std::max<LONG>(1, w.rect.bottom - w.rect.top);
  if (w.surface && w.surface->width == width && w.surface->height == height) return;
  w.surface = std::make_shared<qm::ui::Surface>(width, height, NewSurfaceFill);
}

HDC MakeWindowDC(Window& w, bool wholeWindow, const RECT* clipClient) {
  Window* root = Find(RootOf(w.handle));
  if (!root) return nullptr;
  EnsureSurface(*root);
  POINT origin = wholeWindow ? WindowOriginInRoot(w) : ClientOriginInRoot(w);
  RECT clip = VisibleClipInRoot(w, wholeWindow);
  if (clipClient) {
    RECT limit{clipClient->left + origin.x, clipClient->top + origin.y, clipClient->right + origin.x,
               clipClient->bottom + origin.y};
    clip = Intersect(clip, limit);
  }
  return qm::ui::CreateSurfaceDC(root->surface, origin, clip, w.handle);
}

void FinishWindowDC(Window& w, HDC dc) {
  RECT drawn = qm::ui::TakeDrawnBounds(dc);
  qm::ui::DestroySurfaceDC(dc);
  Window* root = Find(RootOf(w.handle));
  if (!root || IsEmpty(drawn) || !root->IsVisibleFlag()) return;
  MarkScreenDirty({drawn.left + root->rect.left, drawn.top + root->rect.top, drawn.right + root->rect.left,
                   drawn.bottom + root->rect.top});
}

}  // namespace qm::ui::user

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  Window* w = Find(hwnd);
  if (!w || !paint) return nullptr;
  ++Wm().paintSerial;
  if (w->frameDirty) PaintFrameNow(*w);
  if (!(w = Find(hwnd))) return nullptr;
  RECT area = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->hasUpdate && w->updateErase;
  w->hasUpdate = false;
  w->updateErase = false;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = area;
  paint->hdc = MakeWindowDC(*w, false, &area);
  if (erase) paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
  return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  Window* w = Find(hwnd);
  if (w) {
    FinishWindowDC(*w, paint->hdc);
  } else {
    qm::ui::DestroySurfaceDC(paint->hdc);
  }
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd || IsDesktop(hwnd)) {
    Window* desktop = Find(GetDesktopWindow());
    return MakeWindowDC(*desktop, false, nullptr);
  }
  Window* w = Find(hwnd);
  return w ? MakeWindowDC(*w, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd || IsDesktop(hwnd)) return GetDC(nullptr);
  Window* w = Find(hwnd);
  return w ? MakeWindowDC(*w, true, nullptr) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  if (!dc) return 0;
  Window* w = FindOrDesktop(hwnd ? hwnd : GetDesktopWindow());
  if (w) {
    FinishWindowDC(*w, dc);
  } else {
    qm::ui::DestroySurfaceDC(dc);
  }
  return 1;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) {
    if (!hwnd) {  // the whole screen
      for (HWND top : Wm().topLevels)
        if (Window* t = Find(top)) InvalidateTree(*t, erase);
      return TRUE;
    }
    return FALSE;
  }
  InvalidateWindow(*w, rect, erase, false);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (!rect || (rect->left <= w->update.left && rect->top <= w->update.top && rect->right >= w->update.right &&
                rect->bottom >= w->update.bottom)) {
    w->hasUpdate = false;
    w->updateErase = false;
  }
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (!IsShown(*w)) return TRUE;
  if (w->frameDirty && !w->hasUpdate) PaintFrameNow(*w);
  if (!(w = Find(hwnd)) || !w->hasUpdate) return TRUE;
  MSG paint{hwnd, WM_PAINT, 0, 0, 0, {}};
  DispatchMessageA(&paint);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (flags & RDW_INVALIDATE) {
    InvalidateWindow(*w, rect, (flags & RDW_ERASE) != 0, (flags & RDW_FRAME) != 0);
    if (flags & RDW_ALLCHILDREN)
      for (HWND child : w->children)
        if (Window* c = Find(child)) InvalidateTree(*c, (flags & RDW_ERASE) != 0);
  }
  if (flags & RDW_UPDATENOW) PaintTreeNow(hwnd);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  return w->hasUpdate ? TRUE : FALSE;
}
