// The scroll bar calls: range, page and position kept consistent (the page
// never exceeds the range, the position stays where a full page still fits),
// and a bar shown only while there is something to scroll.
#include "platform/ui/user/ScrollBars.h"

#include <algorithm>

using namespace qm::ui::user;

namespace qm::ui::user {

ScrollBarState& BarState(Window& w, int bar) {
  if (!w.scrollBars) w.scrollBars = std::make_shared<ScrollBars>();
  return w.scrollBars->bars[bar == SB_VERT ? 1 : 0];
}

}  // namespace qm::ui::user

namespace {

bool IsWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

DWORD StyleBits(int bar) {
  if (bar == SB_BOTH) return WS_VSCROLL | WS_HSCROLL;
  return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

void Normalise(ScrollBarState& s) {
  if (s.max < s.min) s.max = s.min;
  auto range = static_cast<unsigned long long>(static_cast<long long>(s.max) - s.min + 1);
  if (s.page > range) s.page = static_cast<UINT>(range);
  s.pos = std::clamp(s.pos, s.min, std::max(s.min, s.MaxPos()));
}

// The bar's style bit decides whether it is there; the client area shrinks
// or grows with it, so the window repaints and hears of its new size.
void SetShown(Window& w, int bar, bool show) {
  DWORD style = show ? (w.style | StyleBits(bar)) : (w.style & ~StyleBits(bar));
  if (style == w.style) return;
  HWND hwnd = w.handle;
  RECT before{};
  GetClientRect(hwnd, &before);
  w.style = style;
  InvalidateTree(w, true);
  RECT after{};
  GetClientRect(hwnd, &after);
  if (after.right != before.right || after.bottom != before.bottom)
    SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(WORD(after.right), WORD(after.bottom)));
}

Window* WindowWithBar(HWND hwnd, int bar) { return IsWindowBar(bar) ? Find(hwnd) : nullptr; }

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  Window* w = WindowWithBar(hwnd, bar);
  if (!w || !info) return 0;
  ScrollBarState& s = BarState(*w, bar);
  if (info->fMask & SIF_RANGE) {
    s.min = info->nMin;
    s.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) s.page = info->nPage;
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  Normalise(s);
  int position = s.pos;
  bool wasDisabled = s.disabled;
  if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    bool scrolls = s.MaxPos() > s.min;
    s.disabled = !scrolls && (info->fMask & SIF_DISABLENOSCROLL);
    bool wasShown = (w->style & StyleBits(bar)) != 0;
    SetShown(*w, bar, scrolls || s.disabled);
    if (!(w = Find(hwnd))) return position;
    if (wasShown != ((w->style & StyleBits(bar)) != 0)) return position;  // the whole frame repaints
  }
  if ((redraw || wasDisabled != s.disabled) && HasBar(*w, bar)) RedrawScrollBar(*w, bar);
  return position;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  Window* w = WindowWithBar(hwnd, bar);
  if (!w || !info || (!w->scrollBars && !(w->style & StyleBits(bar)))) return FALSE;
  const ScrollBarState& s = BarState(*w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s.tracking ? s.trackPos : s.pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int position, BOOL redraw) {
  Window* w = WindowWithBar(hwnd, bar);
  if (!w) return 0;
  int previous = BarState(*w, bar).pos;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, position, 0};
  SetScrollInfo(hwnd, bar, &info, redraw);
  return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
  Window* w = WindowWithBar(hwnd, bar);
  return w ? BarState(*w, bar).pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minimum, int maximum, BOOL redraw) {
  if (!WindowWithBar(hwnd, bar)) return FALSE;
  SCROLLINFO info{sizeof info, SIF_RANGE, minimum, maximum, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minimum, int* maximum) {
  Window* w = WindowWithBar(hwnd, bar);
  if (!w || !minimum || !maximum) return FALSE;
  const ScrollBarState& s = BarState(*w, bar);
  *minimum = s.min;
  *maximum = s.max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  Window* w = Find(hwnd);
  if (!w || !(IsWindowBar(bar) || bar == SB_BOTH)) return FALSE;
  SetShown(*w, bar, show != FALSE);
  return TRUE;
}
