// A window's own scroll bars (WS_VSCROLL, WS_HSCROLL): their state, where
// they sit in the non-client area (inside the border and client edge, the
// vertical one on the right, the horizontal one at the bottom), how they
// draw, and the loop that follows the mouse while a bar is held. Any window
// may have them; the non-client code calls the hooks at the end of this file.
#pragma once

#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  bool disabled = false;  // shown by SIF_DISABLENOSCROLL with nothing to scroll
  bool tracking = false;  // the thumb is being dragged
  int trackPos = 0;
  ScrollPart pressed = ScrollPart::None;  // drawn pushed in while the mouse holds it

  // The largest position: the page's top at the end of the range.
  int MaxPos() const { return max - static_cast<int>(page > 0 ? page - 1 : 0); }
  bool CanScroll() const { return !disabled && MaxPos() > min; }
};

struct ScrollBars {
  ScrollBarState bars[2];  // by SB_HORZ, SB_VERT
};

ScrollBarState& BarState(Window& w, int bar);

// A bar laid out along its axis, in the window's own coordinates (the top
// left of the window rectangle is 0,0).
struct BarGeometry {
  RECT rect{};
  bool vertical = true;
  int start = 0;  // where the bar begins and ends along its axis
  int end = 0;
  int arrow = 0;  // the length of each arrow button
  int thumbStart = 0;
  int thumbEnd = 0;
  bool hasThumb = false;

  int TrackStart() const { return start + arrow; }
  int TrackEnd() const { return end - arrow; }
};

bool HasBar(const Window& w, int bar);
// thumbAt: where the thumb is drawn along the track (the tracking position
// while it is dragged).
BarGeometry GeometryOf(const Window& w, int bar, const ScrollBarState& state, int thumbAt);
ScrollPart PartAt(const BarGeometry& geometry, POINT windowPoint);
// The position a thumb whose leading edge is at `thumbStart` stands for.
int PositionForThumb(const BarGeometry& geometry, const ScrollBarState& state, int thumbStart);

// ---- Hooks for the non-client area ------------------------------------------
// Draws both bars and the corner between them; after the frame.
void DrawScrollBars(Window& w);
// Draws one bar now, where the window is shown, and shows the change.
void RedrawScrollBar(Window& w, int bar);
// HTVSCROLL, HTHSCROLL, or HTNOWHERE outside the bars.
LRESULT ScrollBarHitTest(const Window& w, POINT windowPoint);
// WM_NCLBUTTONDOWN on a bar: follows the mouse until the button is released,
// sending WM_VSCROLL/WM_HSCROLL to the window.
void TrackScrollBar(HWND hwnd, int bar, POINT screen);

}  // namespace qm::ui::user
