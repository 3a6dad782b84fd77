// Scroll bars in the classic look: raised arrow buttons with black
// triangles (embossed grey when there is nothing to scroll), a track dotted
// in the 3-D highlight over the face, and a raised thumb. The part the mouse
// holds is drawn pushed in.
#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/ScrollBars.h"

namespace qm::ui::user {

namespace {

enum class Direction { Up, Down, Left, Right };

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void Fill(HDC dc, RECT r, int color) {
  if (!IsEmpty(r)) FillRect(dc, &r, GetSysColorBrush(color));
}

// One-pixel lines: top and left in one colour, bottom and right in the other.
void Lines(HDC dc, RECT r, int topLeft, int bottomRight) {
  Fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  Fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Deflate(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void RaisedButton(HDC dc, RECT r) {
  Fill(dc, r, COLOR_3DFACE);
  Lines(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  Lines(dc, Deflate(r, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
}

void PushedButton(HDC dc, RECT r) {
  Fill(dc, r, COLOR_3DFACE);
  Lines(dc, r, COLOR_3DSHADOW, COLOR_3DSHADOW);
}

// Four rows of 1, 3, 5 and 7 pixels, the tip towards the direction; (cx, cy)
// is the pixel left of and above the centre of the button.
void Triangle(HDC dc, int cx, int cy, Direction d, int color) {
  for (int i = 0; i < 4; ++i) {
    switch (d) {
      case Direction::Up: Fill(dc, {cx - i, cy - 1 + i, cx + i + 1, cy + i}, color); break;
      case Direction::Down: Fill(dc, {cx - i, cy + 2 - i, cx + i + 1, cy + 3 - i}, color); break;
      case Direction::Left: Fill(dc, {cx - 1 + i, cy - i, cx + i, cy + i + 1}, color); break;
      case Direction::Right: Fill(dc, {cx + 2 - i, cy - i, cx + 3 - i, cy + i + 1}, color); break;
    }
  }
}

void Arrow(HDC dc, RECT r, Direction d, bool pushed, bool enabled) {
  if (IsEmpty(r)) return;
  pushed ? PushedButton(dc, r) : RaisedButton(dc, r);
  int shift = pushed ? 1 : 0;
  int cx = (r.left + r.right - 1) / 2 + shift, cy = (r.top + r.bottom - 1) / 2 + shift;
  if (enabled) {
    Triangle(dc, cx, cy, d, COLOR_BTNTEXT);
  } else {
    Triangle(dc, cx + 1, cy + 1, d, COLOR_3DHILIGHT);
    Triangle(dc, cx, cy, d, COLOR_3DSHADOW);
  }
}

// Every other pixel in the light colour, in a pattern fixed to the window so
// that redrawing part of the track keeps it seamless.
void Track(HDC dc, RECT r, bool pushed) {
  if (IsEmpty(r)) return;
  int base = pushed ? COLOR_3DSHADOW : COLOR_3DFACE;
  COLORREF dots = GetSysColor(pushed ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT);
  Fill(dc, r, base);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left + ((r.left + y) & 1); x < r.right; x += 2) SetPixel(dc, x, y, dots);
}

void DrawBar(HDC dc, Window& w, int bar) {
  const ScrollBarState& s = BarState(w, bar);
  BarGeometry g = GeometryOf(w, bar, s, s.tracking ? s.trackPos : s.pos);
  bool enabled = s.CanScroll();
  auto span = [&](int from, int to) {
    return g.vertical ? RECT{g.rect.left, from, g.rect.right, to} : RECT{from, g.rect.top, to, g.rect.bottom};
  };
  Arrow(dc, span(g.start, g.TrackStart()), g.vertical ? Direction::Up : Direction::Left,
        s.pressed == ScrollPart::LineUp, enabled);
  Arrow(dc, span(g.TrackEnd(), g.end), g.vertical ? Direction::Down : Direction::Right,
        s.pressed == ScrollPart::LineDown, enabled);
  if (!g.hasThumb) {
    Track(dc, span(g.TrackStart(), g.TrackEnd()), false);
    return;
  }
  Track(dc, span(g.TrackStart(), g.thumbStart), s.pressed == ScrollPart::PageUp);
  RaisedButton(dc, span(g.thumbStart, g.thumbEnd));
  Track(dc, span(g.thumbEnd, g.TrackEnd()), s.pressed == ScrollPart::PageDown);
}

// A DC over the window's whole rectangle in its top-level window's surface.
HDC WindowAreaDC(Window& w) {
  Window* root = Find(RootOf(w.handle));
  if (!root) return nullptr;
  EnsureSurface(*root);
  return CreateSurfaceDC(root->surface, WindowOriginInRoot(w), VisibleClipInRoot(w, true), w.handle);
}

void Release(HDC dc) {
  TakeDrawnBounds(dc);
  DestroySurfaceDC(dc);
}

}  // namespace

void DrawScrollBars(Window& w) {
  bool vertical = HasBar(w, SB_VERT), horizontal = HasBar(w, SB_HORZ);
  if (!vertical && !horizontal) return;
  HDC dc = WindowAreaDC(w);
  if (!dc) return;
  if (vertical) DrawBar(dc, w, SB_VERT);
  if (horizontal) DrawBar(dc, w, SB_HORZ);
  if (vertical && horizontal) {
    RECT client = ClientRectInWindow(w);
    Fill(dc, {client.right, client.bottom, client.right + GetSystemMetrics(SM_CXVSCROLL),
              client.bottom + GetSystemMetrics(SM_CYHSCROLL)}, COLOR_3DFACE);
  }
  Release(dc);
}

void RedrawScrollBar(Window& w, int bar) {
  if (!IsShown(w) || !HasBar(w, bar)) return;
  HDC dc = WindowAreaDC(w);
  if (!dc) return;
  DrawBar(dc, w, bar);
  Release(dc);
  ScrollBarState none;
  RECT r = GeometryOf(w, bar, none, 0).rect;
  POINT o = WindowOriginOnScreen(w);
  MarkScreenDirty({r.left + o.x, r.top + o.y, r.right + o.x, r.bottom + o.y});
}

}  // namespace qm::ui::user
