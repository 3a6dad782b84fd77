// Drawing of non-client parts straight into a top-level window's surface:
// solid fills and the rings of 3-D edges, clipped to what the window may
// cover. The frame, the caption and its boxes draw through it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/ui/Surface.h"
#include "platform/ui/WinUser.h"

namespace qm::ui::user {

struct FramePainter {
  Surface& surface;
  RECT clip;

  void Fill(RECT r, std::uint32_t pixel) {
    r = {std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
         std::min(r.bottom, clip.bottom)};
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        if (surface.Contains(x, y)) surface.At(x, y) = pixel;
  }
  // One ring of a 3-D edge: topLeft colours the top and left lines.
  void Ring(const RECT& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
    Fill({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  }
};

inline std::uint32_t SysPixel(int index) { return PixelFromColor(GetSysColor(index)); }

inline RECT Deflate(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

inline RECT Shifted(RECT r, POINT by) { return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

inline bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool RectContains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace qm::ui::user
