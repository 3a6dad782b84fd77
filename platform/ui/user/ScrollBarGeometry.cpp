// Where a scroll bar's parts are: two arrow buttons at the ends, the track
// between them, and a thumb whose length is to the track as the page is to
// the range (a fixed square when there is no page).
#include <algorithm>

#include "platform/ui/user/FramePainter.h"
#include "platform/ui/user/ScrollBars.h"

namespace qm::ui::user {

namespace {

constexpr int MinThumb = 8;

}  // namespace

bool HasBar(const Window& w, int bar) { return (w.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0; }

BarGeometry GeometryOf(const Window& w, int bar, const ScrollBarState& s, int thumbAt) {
  BarGeometry g;
  RECT client = ClientRectInWindow(w);
  g.vertical = bar == SB_VERT;
  if (g.vertical) {
    g.rect = {client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
    g.start = g.rect.top;
    g.end = g.rect.bottom;
  } else {
    g.rect = {client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    g.start = g.rect.left;
    g.end = g.rect.right;
  }
  int thickness = g.vertical ? GetSystemMetrics(SM_CXVSCROLL) : GetSystemMetrics(SM_CYHSCROLL);
  g.arrow = std::min(thickness, std::max(0, g.end - g.start) / 2);
  int track = g.TrackEnd() - g.TrackStart();
  if (!s.CanScroll() || track <= 0) return g;
  long long range = static_cast<long long>(s.max) - s.min + 1;
  int thumb = s.page == 0 ? thickness : static_cast<int>(std::max<long long>(MinThumb, track * s.page / range));
  if (thumb > track) return g;
  long long room = track - thumb;
  long long offset = room * (std::clamp(thumbAt, s.min, s.MaxPos()) - s.min) / (s.MaxPos() - s.min);
  g.hasThumb = true;
  g.thumbStart = g.TrackStart() + static_cast<int>(offset);
  g.thumbEnd = g.thumbStart + thumb;
  return g;
}

ScrollPart PartAt(const BarGeometry& g, POINT p) {
  if (!RectContains(g.rect, p)) return ScrollPart::None;
  int along = g.vertical ? p.y : p.x;
  if (along < g.TrackStart()) return ScrollPart::LineUp;
  if (along >= g.TrackEnd()) return ScrollPart::LineDown;
  if (!g.hasThumb) return ScrollPart::None;
  if (along < g.thumbStart) return ScrollPart::PageUp;
  if (along >= g.thumbEnd) return ScrollPart::PageDown;
  return ScrollPart::Thumb;
}

int PositionForThumb(const BarGeometry& g, const ScrollBarState& s, int thumbStart) {
  int room = (g.TrackEnd() - g.TrackStart()) - (g.thumbEnd - g.thumbStart);
  if (room <= 0 || !g.hasThumb) return s.min;
  long long offset = std::clamp(thumbStart - g.TrackStart(), 0, room);
  long long span = static_cast<long long>(s.MaxPos()) - s.min;
  return s.min + static_cast<int>((offset * span + room / 2) / room);
}

LRESULT ScrollBarHitTest(const Window& w, POINT p) {
  for (int bar : {SB_VERT, SB_HORZ}) {
    if (!HasBar(w, bar)) continue;
    ScrollBarState none;
    if (RectContains(GeometryOf(w, bar, none, 0).rect, p)) return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
  }
  return HTNOWHERE;
}

}  // namespace qm::ui::user
