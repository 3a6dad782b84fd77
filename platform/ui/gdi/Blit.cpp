// Block transfers. The source is read in full before anything is written,
// so a copy within one surface works whichever way the areas overlap.
#include <algorithm>
#include <cstring>
#include <cstdint>
#include <vector>

#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObjects.h"

using namespace qm::ui::gdi;
using qm::ui::PixelFromColor;
using qm::ui::Surface;

namespace {

// Fills or inverts the destination for the operations that need no source.
bool ApplyWithoutSource(DeviceContext& dest, RECT area, DWORD rop) {
  switch (rop) {
    case BLACKNESS: dest.Fill(area, 0xFF000000u); return true;
    case WHITENESS: dest.Fill(area, 0xFFFFFFFFu); return true;
    case PATCOPY: {
      BrushPaint paint = ResolveBrush(dest.State().brush);
      if (paint.valid && !paint.hollow) dest.Fill(area, PixelFromColor(paint.color));
      return true;
    }
    case DSTINVERT: {
      RECT r = Intersect(area, dest.Clip());
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) dest.Invert(x, y);
      return true;
    }
    default: return false;
  }
}

// Copies width x height pixels; sourceAt maps a destination offset to a
// source pixel of the source surface (or -1 when it falls outside).
template <class SourceAt>
void Copy(DeviceContext& dest, POINT at, int width, int height, const Surface& source, SourceAt sourceAt) {
  RECT area = Intersect({at.x, at.y, at.x + width, at.y + height}, dest.Clip());
  if (IsEmpty(area)) return;
  int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<std::uint32_t> pixels(std::size_t(w) * h);
  std::vector<bool> present(pixels.size());
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      POINT s = sourceAt(area.left + i - at.x, area.top + j - at.y);
      if (!source.Contains(s.x, s.y)) continue;
      pixels[std::size_t(j) * w + i] = source.At(s.x, s.y);
      present[std::size_t(j) * w + i] = true;
    }
  }
  Surface& target = *dest.Target();
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (present[std::size_t(j) * w + i]) target.At(area.left + i, area.top + j) = pixels[std::size_t(j) * w + i];
  dest.Touch(area);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  DeviceContext* to = LookupDC(dest);
  if (to == nullptr || to->Target() == nullptr) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;
  POINT at = to->Device(x, y);
  if (rop != SRCCOPY) return ApplyWithoutSource(*to, {at.x, at.y, at.x + width, at.y + height}, rop) ? TRUE : FALSE;
  DeviceContext* from = LookupDC(source);
  if (from == nullptr || from->Target() == nullptr) return FALSE;
  POINT origin = from->Device(sourceX, sourceY);
  const Surface& pixels = *from->Target();
  // Pixels outside the source surface leave the destination as it was.
  RECT area{at.x, at.y, at.x + width, at.y + height};
  area = Intersect(area, to->Clip());
  area = Intersect(area, {at.x - origin.x, at.y - origin.y, at.x - origin.x + pixels.width,
                          at.y - origin.y + pixels.height});
  if (IsEmpty(area)) return TRUE;
  int w = area.right - area.left, h = area.bottom - area.top;
  int sourceLeft = area.left - at.x + origin.x, sourceTop = area.top - at.y + origin.y;
  Surface& target = *to->Target();
  // Row by row straight into the destination. Within one surface the rows
  // are taken in the order that never reads a row already overwritten, and
  // memmove copes with overlap inside a row.
  auto copyRow = [&](int j) {
    std::memmove(&target.At(area.left, area.top + j),
                 pixels.pixels.data() + std::size_t(sourceTop + j) * pixels.width + sourceLeft,
                 std::size_t(w) * sizeof(std::uint32_t));
  };
  if (&target == &pixels && area.top > sourceTop) {
    for (int j = h - 1; j >= 0; --j) copyRow(j);
  } else {
    for (int j = 0; j < h; ++j) copyRow(j);
  }
  to->Touch(area);
  return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
  DeviceContext* to = LookupDC(dest);
  if (to == nullptr || to->Target() == nullptr) return FALSE;
  // A negative extent mirrors; normalise the destination and fold the
  // mirroring into the source walk.
  bool mirrorX = (width < 0) != (sourceWidth < 0);
  bool mirrorY = (height < 0) != (sourceHeight < 0);
  if (width < 0) {
    x += width + 1;
    width = -width;
  }
  if (height < 0) {
    y += height + 1;
    height = -height;
  }
  if (sourceWidth < 0) {
    sourceX += sourceWidth + 1;
    sourceWidth = -sourceWidth;
  }
  if (sourceHeight < 0) {
    sourceY += sourceHeight + 1;
    sourceHeight = -sourceHeight;
  }
  if (width == 0 || height == 0) return TRUE;
  POINT at = to->Device(x, y);
  if (rop != SRCCOPY) return ApplyWithoutSource(*to, {at.x, at.y, at.x + width, at.y + height}, rop) ? TRUE : FALSE;
  DeviceContext* from = LookupDC(source);
  if (from == nullptr || from->Target() == nullptr || sourceWidth == 0 || sourceHeight == 0) return FALSE;
  POINT origin = from->Device(sourceX, sourceY);
  Copy(*to, at, width, height, *from->Target(), [&](int i, int j) {
    int si = static_cast<int>((static_cast<long long>(i) * sourceWidth) / width);
    int sj = static_cast<int>((static_cast<long long>(j) * sourceHeight) / height);
    if (mirrorX) si = sourceWidth - 1 - si;
    if (mirrorY) sj = sourceHeight - 1 - sj;
    return POINT{origin.x + si, origin.y + sj};
  });
  return TRUE;
}
