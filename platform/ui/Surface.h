// An RGBA drawing surface: what device contexts draw into, what windows keep
// their picture in, and what the display backends show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace qm::ui {

// Where pixels are kept: a picture of a large page or more (one as large
// as the screen) in a block of pages of its own, which the host can back
// with large pages and so fault in a few steps where it would take
// hundreds; a smaller one on the heap.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* pixels, std::size_t bytes);

template <class T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocatePixels(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) { FreePixels(p, n * sizeof(T)); }
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

// Pixels are 0xAARRGGBB (alpha always 0xFF), row after row, top row first.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> pixels;

  Surface() = default;
  Surface(int w, int h, std::uint32_t fill = 0xFFFFFFFF) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}

  std::uint32_t& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

constexpr std::uint32_t PixelFromColor(COLORREF c) {
  return 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF ColorFromPixel(std::uint32_t p) {
  return RGB(BYTE((p >> 16) & 0xFF), BYTE((p >> 8) & 0xFF), BYTE(p & 0xFF));
}

}  // namespace qm::ui
