// Lines, rectangles and pixels, with the classic rules: a line leaves out its
// end point; a rectangle leaves out its right column and bottom row.
#include <algorithm>
#include <cstdlib>

#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObjects.h"

using namespace qm::ui::gdi;
using qm::ui::PixelFromColor;

namespace {

// Whether the pen draws the n-th pixel along a line.
bool PenOn(int style, int n) {
  switch (style) {
    case PS_DASH: return n % 8 < 6;
    case PS_DOT: return n % 2 == 0;
    default: return true;
  }
}

void DrawLine(DeviceContext& dc, POINT from, POINT to) {
  auto* pen = Lookup<PenObject>(dc.State().pen);
  if (pen == nullptr || pen->style == PS_NULL) return;
  std::uint32_t pixel = PixelFromColor(pen->color);
  POINT a = dc.Device(from.x, from.y);
  POINT b = dc.Device(to.x, to.y);
  int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int error = dx + dy;
  int x = a.x, y = a.y;
  int half = (pen->width - 1) / 2;
  // Straight solid lines are spans: one fill instead of a walk.
  if (pen->style == PS_SOLID && (a.y == b.y || a.x == b.x) && (a.x != b.x || a.y != b.y)) {
    int step = a.y == b.y ? (b.x > a.x ? 1 : -1) : (b.y > a.y ? 1 : -1);
    POINT last = a.y == b.y ? POINT{b.x - step, b.y} : POINT{b.x, b.y - step};
    RECT span{std::min(a.x, last.x), std::min(a.y, last.y), std::max(a.x, last.x) + 1, std::max(a.y, last.y) + 1};
    dc.Fill({span.left - half, span.top - half, span.right - half + pen->width - 1, span.bottom - half + pen->width - 1},
            pixel);
    return;
  }
  for (int n = 0; x != b.x || y != b.y; ++n) {
    if (PenOn(pen->style, n)) {
      if (pen->width <= 1)
        dc.Plot(x, y, pixel);
      else
        dc.Fill({x - half, y - half, x - half + pen->width, y - half + pen->width}, pixel);
    }
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return FALSE;
  if (previous) *previous = context->State().position;
  context->State().position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr) return FALSE;
  DrawLine(*context, context->State().position, {x, y});
  context->State().position = {x, y};
  return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr || points == nullptr || count < 2) return FALSE;
  for (int i = 1; i < count; ++i) DrawLine(*context, points[i - 1], points[i]);
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return TRUE;
  RECT outer = context->Device(RECT{left, top, right, bottom});
  auto* pen = Lookup<PenObject>(context->State().pen);
  BrushPaint brush = ResolveBrush(context->State().brush);
  bool outline = pen != nullptr && pen->style != PS_NULL;
  if (!outline) {
    // Without a pen the filled area shrinks by the pen's missing column and row.
    if (brush.valid && !brush.hollow)
      context->Fill({outer.left, outer.top, outer.right - 1, outer.bottom - 1}, PixelFromColor(brush.color));
    return TRUE;
  }
  int w = std::min<int>({pen->width, (right - left + 1) / 2, (bottom - top + 1) / 2});
  w = std::max(w, 1);
  if (brush.valid && !brush.hollow)
    context->Fill({outer.left + w, outer.top + w, outer.right - w, outer.bottom - w}, PixelFromColor(brush.color));
  std::uint32_t pixel = PixelFromColor(pen->color);
  context->Fill({outer.left, outer.top, outer.right, outer.top + w}, pixel);
  context->Fill({outer.left, outer.bottom - w, outer.right, outer.bottom}, pixel);
  context->Fill({outer.left, outer.top, outer.left + w, outer.bottom}, pixel);
  context->Fill({outer.right - w, outer.top, outer.right, outer.bottom}, pixel);
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr) return CLR_INVALID;
  POINT p = context->Device(x, y);
  RECT clip = context->Clip();
  if (p.x < clip.left || p.x >= clip.right || p.y < clip.top || p.y >= clip.bottom) return CLR_INVALID;
  context->Plot(p.x, p.y, PixelFromColor(color));
  return color & 0x00FFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr) return CLR_INVALID;
  POINT p = context->Device(x, y);
  RECT clip = context->Clip();
  if (p.x < clip.left || p.x >= clip.right || p.y < clip.top || p.y >= clip.bottom) return CLR_INVALID;
  return qm::ui::ColorFromPixel(context->Target()->At(p.x, p.y));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DeviceContext* context = LookupDC(dc);
  BrushPaint paint = ResolveBrush(brush);
  if (context == nullptr || rect == nullptr || !paint.valid || context->Target() == nullptr) return 0;
  if (!paint.hollow) context->Fill(context->Device(*rect), PixelFromColor(paint.color));
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DeviceContext* context = LookupDC(dc);
  BrushPaint paint = ResolveBrush(brush);
  if (context == nullptr || rect == nullptr || !paint.valid || context->Target() == nullptr) return 0;
  RECT r = context->Device(*rect);
  if (IsEmpty(r) || paint.hollow) return 1;
  std::uint32_t pixel = PixelFromColor(paint.color);
  context->Fill({r.left, r.top, r.right, r.top + 1}, pixel);
  context->Fill({r.left, r.bottom - 1, r.right, r.bottom}, pixel);
  context->Fill({r.left, r.top, r.left + 1, r.bottom}, pixel);
  context->Fill({r.right - 1, r.top, r.right, r.bottom}, pixel);
  return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || rect == nullptr || context->Target() == nullptr) return FALSE;
  RECT r = Intersect(context->Device(*rect), context->Clip());
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) context->Invert(x, y);
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || rect == nullptr || context->Target() == nullptr) return FALSE;
  RECT r = context->Device(*rect);
  if (IsEmpty(r)) return TRUE;
  // Every other pixel of the frame is inverted, so drawing it twice removes it.
  auto dot = [&](int x, int y) {
    if (((x - r.left) + (y - r.top)) % 2 == 0) context->Invert(x, y);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
  return TRUE;
}
