// Builds the screen from the top-level windows' surfaces, bottom of the
// z-order first, over the desktop colour, redoing only dirty rectangles.
#include <algorithm>
#include <mutex>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/HostWindow.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

constexpr std::size_t MaxDirtyRects = 32;

struct Compositor {
  qm::ui::Surface screen;
  std::vector<RECT> dirty;
};

Compositor& TheCompositor() {
  static Compositor compositor;
  return compositor;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool Covers(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

void EnsureScreen(Compositor& c) {
  SIZE size = qm::ui::Display().ScreenSize();
  if (c.screen.width == size.cx && c.screen.height == size.cy) return;
  c.screen = qm::ui::Surface(size.cx, size.cy, 0xFF008080);
  c.dirty.assign(1, RECT{0, 0, size.cx, size.cy});
  if (Window* desktop = Find(GetDesktopWindow())) desktop->rect = {0, 0, size.cx, size.cy};
}

void ComposeRect(Compositor& c, const RECT& area) {
  const auto& tops = Wm().topLevels;
  // Windows are opaque: composing starts at the topmost window that covers
  // the whole area, so what lies under it (the desktop, a full-screen window)
  // is not copied only to be overwritten. The copy repaints a small bar over
  // a full-screen window once per file.
  auto bottom = tops.rbegin();
  bool covered = false;
  for (auto it = tops.begin(); it != tops.end() && !covered; ++it) {
    Window* w = Find(*it);
    if (w && w->IsVisibleFlag() && Covers(w->rect, area)) {
      bottom = std::make_reverse_iterator(std::next(it));
      covered = true;
    }
  }
  if (!covered) {
    std::uint32_t desktop = qm::ui::PixelFromColor(GetSysColor(COLOR_BACKGROUND));
    for (LONG y = area.top; y < area.bottom; ++y)
      std::fill_n(&c.screen.At(area.left, y), area.right - area.left, desktop);
  }
  for (auto it = bottom; it != tops.rend(); ++it) {
    Window* w = Find(*it);
    if (!w || !w->IsVisibleFlag()) continue;
    RECT part = Intersect(area, w->rect);
    if (IsEmpty(part)) continue;
    EnsureSurface(*w);
    const qm::ui::Surface& from = *w->surface;
    for (LONG y = part.top; y < part.bottom; ++y) {
      int sy = y - w->rect.top;
      int sx = part.left - w->rect.left;
      if (sy < 0 || sy >= from.height) continue;
      int count = std::min<int>(part.right - part.left, from.width - sx);
      if (count > 0) std::copy_n(from.pixels.begin() + std::size_t(sy) * from.width + sx, count, &c.screen.At(part.left, y));
    }
  }
}

void ComposeScreenNow() {
  Compositor& c = TheCompositor();
  EnsureScreen(c);
  if (c.dirty.empty()) return;
  std::vector<RECT> dirty;
  dirty.swap(c.dirty);
  for (const RECT& r : dirty) ComposeRect(c, r);
  qm::ui::Display().Present(c.screen, dirty);
}

}  // namespace

namespace qm::ui::user {

void MarkScreenDirty(const RECT& screenRect) {
  Compositor& c = TheCompositor();
  SIZE size = qm::ui::Display().ScreenSize();
  RECT r = Intersect(screenRect, RECT{0, 0, size.cx, size.cy});
  if (IsEmpty(r)) return;
  for (const RECT& existing : c.dirty)
    if (Covers(existing, r)) return;
  std::erase_if(c.dirty, [&](const RECT& existing) { return Covers(r, existing); });
  c.dirty.push_back(r);
  if (c.dirty.size() > MaxDirtyRects) {
    RECT all = c.dirty.front();
    for (const RECT& d : c.dirty)
      all = {std::min(all.left, d.left), std::min(all.top, d.top), std::max(all.right, d.right),
             std::max(all.bottom, d.bottom)};
    c.dirty.assign(1, all);
  }
}

void ComposeScreen() {
  SyncHostWindow();
  if (qm::ui::Display().ShowsScreen()) ComposeScreenNow();
}

void ResetScreen() {
  Compositor& c = TheCompositor();
  c.screen = qm::ui::Surface();
  c.dirty.clear();
}

}  // namespace qm::ui::user

namespace qm::ui {

const Surface& ScreenSurface() {
  user::SyncHostWindow();
  ComposeScreenNow();
  return TheCompositor().screen;
}

}  // namespace qm::ui
