// Surfaces keep their pixels wherever they are stored: small ones on the
// heap, screen-sized ones in blocks of pages of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "platform/ui/Surface.h"

TEST(SurfaceMemory, SmallAndScreenSizedSurfacesKeepTheirPixelsThroughCopiesMovesAndGrowth) {
  struct Size { int width, height; };
  for (Size size : {Size{16, 16}, Size{1024, 768}, Size{1025, 513}, Size{2048, 1024}}) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    qm::ui::Surface surface(size.width, size.height, 0xFF102030u);
    EXPECT_TRUE(std::all_of(surface.pixels.begin(), surface.pixels.end(),
                            [](std::uint32_t p) { return p == 0xFF102030u; }));
    surface.At(0, 0) = 1;
    surface.At(size.width - 1, size.height - 1) = 2;

    qm::ui::Surface copy = surface;
    EXPECT_EQ(copy.pixels, surface.pixels);
    qm::ui::Surface moved = std::move(copy);
    EXPECT_EQ(moved.pixels, surface.pixels);
    // Growth keeps them, in whichever storage the new size takes.
    moved.pixels.resize(moved.pixels.size() * 3, 7);
    EXPECT_EQ(moved.pixels.front(), 1u);
    EXPECT_EQ(moved.pixels[surface.pixels.size() - 1], 2u);
    EXPECT_EQ(moved.pixels.back(), 7u);
  }
}
