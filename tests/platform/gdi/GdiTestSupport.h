// A tiny surface with a DC over it, for pixel checks.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/ui/Surface.h"
#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "support/RectSides.h"

namespace qm::test {

class SurfaceCanvas {
 public:
  SurfaceCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
      : surface_(std::make_shared<ui::Surface>(width, height, ui::PixelFromColor(fill))),
        dc_(ui::CreateSurfaceDC(surface_, POINT{0, 0}, RECT{0, 0, width, height}, nullptr)) {}
  ~SurfaceCanvas() {
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    for (HGDIOBJ object : owned_) DeleteObject(object);
    ui::DestroySurfaceDC(dc_);
  }
  SurfaceCanvas(const SurfaceCanvas&) = delete;
  SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

  HDC dc() const { return dc_; }
  ui::Surface& surface() { return *surface_; }
  COLORREF At(int x, int y) const { return ui::ColorFromPixel(surface_->At(x, y)); }
  // The colours at the points, in their order.
  std::vector<COLORREF> At(std::initializer_list<POINT> points) const {
    std::vector<COLORREF> colours;
    for (POINT p : points) colours.push_back(At(p.x, p.y));
    return colours;
  }
  // Selects a pen, brush or font made for the test into the DC; the canvas
  // selects the stock objects back and deletes it at its end.
  template <class Object>
  Object Use(Object object) {
    owned_.push_back(object);
    SelectObject(dc_, object);
    return object;
  }

 private:
  std::shared_ptr<ui::Surface> surface_;
  HDC dc_;
  std::vector<HGDIOBJ> owned_;
};

using Colours = std::vector<COLORREF>;

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
