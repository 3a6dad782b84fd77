// A tiny surface with a DC over it, for pixel checks.
#pragma once

#include <memory>

#include "platform/ui/Surface.h"
#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"

namespace qm::test {

class SurfaceCanvas {
 public:
  SurfaceCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
      : surface_(std::make_shared<ui::Surface>(width, height, ui::PixelFromColor(fill))),
        dc_(ui::CreateSurfaceDC(surface_, POINT{0, 0}, RECT{0, 0, width, height}, nullptr)) {}
  ~SurfaceCanvas() { ui::DestroySurfaceDC(dc_); }
  SurfaceCanvas(const SurfaceCanvas&) = delete;
  SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

  HDC dc() const { return dc_; }
  ui::Surface& surface() { return *surface_; }
  COLORREF At(int x, int y) const { return ui::ColorFromPixel(surface_->At(x, y)); }

 private:
  std::shared_ptr<ui::Surface> surface_;
  HDC dc_;
};

// The bounding box of pixels that differ from `background`; empty if none.
inline RECT InkBounds(const ui::Surface& surface, COLORREF background) {
  RECT box{surface.width, surface.height, 0, 0};
  std::uint32_t bg = ui::PixelFromColor(background);
  for (int y = 0; y < surface.height; ++y)
    for (int x = 0; x < surface.width; ++x)
      if (surface.At(x, y) != bg) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  if (box.right <= box.left) return RECT{0, 0, 0, 0};
  return box;
}

}  // namespace qm::test
