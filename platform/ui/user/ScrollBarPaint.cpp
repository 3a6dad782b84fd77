// Scroll bars in the classic look: raised arrow buttons with black
// triangles (embossed grey when there is nothing to scroll), a track dotted
// in the 3-D highlight over the face, and a raised thumb. The part the mouse
// holds is drawn pushed in.
#include "platform/ui/user/FramePainter.h"
#include "platform/ui/user/ScrollBars.h"

namespace qm::ui::user {

namespace {

enum class Direction { Up, Down, Left, Right };

// Draws in the window's own coordinates into its top-level window's surface.
struct BarPainter {
  FramePainter frame;
  POINT origin;

  void Fill(RECT r, int colour) { frame.Fill(Shifted(r, origin), SysPixel(colour)); }
  void Ring(RECT r, int topLeft, int bottomRight) {
    frame.Ring(Shifted(r, origin), SysPixel(topLeft), SysPixel(bottomRight));
  }
};

void RaisedButton(BarPainter& p, RECT r) {
  p.Fill(r, COLOR_3DFACE);
  p.Ring(r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  p.Ring(Deflate(r, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
}

void PushedButton(BarPainter& p, RECT r) {
  p.Fill(r, COLOR_3DFACE);
  p.Ring(r, COLOR_3DSHADOW, COLOR_3DSHADOW);
}

// Four rows of 1, 3, 5 and 7 pixels, the tip towards the direction; (cx, cy)
// is the pixel left of and above the centre of the button.
void Triangle(BarPainter& p, int cx, int cy, Direction d, int colour) {
  for (int i = 0; i < 4; ++i) {
    switch (d) {
      case Direction::Up: p.Fill({cx - i, cy - 1 + i, cx + i + 1, cy + i}, colour); break;
      case Direction::Down: p.Fill({cx - i, cy + 2 - i, cx + i + 1, cy + 3 - i}, colour); break;
      case Direction::Left: p.Fill({cx - 1 + i, cy - i, cx + i, cy + i + 1}, colour); break;
      case Direction::Right: p.Fill({cx + 2 - i, cy - i, cx + 3 - i, cy + i + 1}, colour); break;
    }
  }
}

void Arrow(BarPainter& p, RECT r, Direction d, bool pushed, bool enabled) {
  if (IsEmptyRect(r)) return;
  pushed ? PushedButton(p, r) : RaisedButton(p, r);
  int shift = pushed ? 1 : 0;
  int cx = (r.left + r.right - 1) / 2 + shift, cy = (r.top + r.bottom - 1) / 2 + shift;
  if (enabled) {
    Triangle(p, cx, cy, d, COLOR_BTNTEXT);
  } else {
    Triangle(p, cx + 1, cy + 1, d, COLOR_3DHILIGHT);
    Triangle(p, cx, cy, d, COLOR_3DSHADOW);
  }
}

// Every other pixel in the light colour, in a pattern fixed to the window so
// that redrawing part of the track keeps it seamless.
void Track(BarPainter& p, RECT r, bool pushed) {
  if (IsEmptyRect(r)) return;
  p.Fill(r, pushed ? COLOR_3DSHADOW : COLOR_3DFACE);
  int dots = pushed ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left + ((r.left + y) & 1); x < r.right; x += 2) p.Fill({x, y, x + 1, y + 1}, dots);
}

void DrawBar(BarPainter& p, Window& w, int bar) {
  const ScrollBarState& s = BarState(w, bar);
  BarGeometry g = GeometryOf(w, bar, s, s.tracking ? s.trackPos : s.pos);
  bool enabled = s.CanScroll();
  auto span = [&](int from, int to) {
    return g.vertical ? RECT{g.rect.left, from, g.rect.right, to} : RECT{from, g.rect.top, to, g.rect.bottom};
  };
  Arrow(p, span(g.start, g.TrackStart()), g.vertical ? Direction::Up : Direction::Left,
        s.pressed == ScrollPart::LineUp, enabled);
  Arrow(p, span(g.TrackEnd(), g.end), g.vertical ? Direction::Down : Direction::Right,
        s.pressed == ScrollPart::LineDown, enabled);
  if (!g.hasThumb) {
    Track(p, span(g.TrackStart(), g.TrackEnd()), false);
    return;
  }
  Track(p, span(g.TrackStart(), g.thumbStart), s.pressed == ScrollPart::PageUp);
  RaisedButton(p, span(g.thumbStart, g.thumbEnd));
  Track(p, span(g.thumbEnd, g.TrackEnd()), s.pressed == ScrollPart::PageDown);
}

// Paints with a painter over the window in its top-level window's surface.
template <class Paint>
void WithPainter(Window& w, Paint&& paint) {
  Window* root = Find(RootOf(w.handle));
  if (!root) return;
  EnsureSurface(*root);
  BarPainter p{FramePainter{*root->surface, VisibleClipInRoot(w, true)}, WindowOriginInRoot(w)};
  paint(p);
}

}  // namespace

void DrawScrollBars(Window& w) {
  bool vertical = HasBar(w, SB_VERT), horizontal = HasBar(w, SB_HORZ);
  if (!vertical && !horizontal) return;
  WithPainter(w, [&](BarPainter& p) {
    if (vertical) DrawBar(p, w, SB_VERT);
    if (horizontal) DrawBar(p, w, SB_HORZ);
    if (vertical && horizontal) {
      RECT client = ClientRectInWindow(w);
      p.Fill({client.right, client.bottom, client.right + GetSystemMetrics(SM_CXVSCROLL),
              client.bottom + GetSystemMetrics(SM_CYHSCROLL)},
             COLOR_3DFACE);
    }
  });
}

void RedrawScrollBar(Window& w, int bar) {
  if (!IsShown(w) || !HasBar(w, bar)) return;
  WithPainter(w, [&](BarPainter& p) { DrawBar(p, w, bar); });
  ScrollBarState none;
  MarkScreenDirty(Shifted(GeometryOf(w, bar, none, 0).rect, WindowOriginOnScreen(w)));
}

}  // namespace qm::ui::user
