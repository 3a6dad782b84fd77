// The off-screen drawing a self-drawn progress bar does: a buffer in a
// memory DC, rectangles in pen and brush colours, two text images in
// temporary DCs, and column ranges of them copied across the fill edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "GdiTestSupport.h"

using qm::test::SurfaceCanvas;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

void DrawBar(HDC paintDC, int w, int h, int position, int upper) {
  HDC memory = CreateCompatibleDC(paintDC);
  HBITMAP buffer = CreateCompatibleBitmap(paintDC, w, h);
  SelectObject(memory, buffer);
  HBRUSH blueBrush = CreateSolidBrush(kBlue), whiteBrush = CreateSolidBrush(kWhite);
  HPEN bluePen = CreatePen(PS_SOLID, 1, kBlue), whitePen = CreatePen(PS_SOLID, 1, kWhite);
  int fill = static_cast<int>(double(position) / upper * w);
  HGDIOBJ oldPen = SelectObject(memory, bluePen);
  HGDIOBJ oldBrush = SelectObject(memory, blueBrush);
  Rectangle(memory, 0, 0, fill, h);
  SelectObject(memory, whitePen);
  SelectObject(memory, whiteBrush);
  Rectangle(memory, fill, 0, w, h);
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", static_cast<int>(position * 100.0 / upper));
  SIZE size{};
  GetTextExtentPoint32A(memory, text, int(std::strlen(text)), &size);
  int tx = (w - size.cx) / 2, ty = (h - size.cy) / 2;
  HDC imageA = CreateCompatibleDC(memory), imageB = CreateCompatibleDC(memory);
  HBITMAP bitmapA = CreateCompatibleBitmap(memory, size.cx, size.cy);
  HBITMAP bitmapB = CreateCompatibleBitmap(memory, size.cx, size.cy);
  SelectObject(imageA, bitmapA);
  SelectObject(imageB, bitmapB);
  for (auto [image, ink, paper] : {std::tuple(imageA, kBlack, kWhite), std::tuple(imageB, kWhite, kBlue)}) {
    SetTextColor(image, ink);
    SetBkColor(image, paper);
    TextOutA(image, 0, 0, text, int(std::strlen(text)));
  }
  if (tx < fill && fill < tx + size.cx) {
    BitBlt(memory, fill, ty, size.cx - (fill - tx), size.cy, imageA, fill - tx, 0, SRCCOPY);
    BitBlt(memory, tx, ty, fill - tx, size.cy, imageB, 0, 0, SRCCOPY);
  } else {
    BitBlt(memory, tx, ty, size.cx, size.cy, fill <= tx ? imageA : imageB, 0, 0, SRCCOPY);
  }
  SelectObject(memory, oldBrush);
  SelectObject(memory, oldPen);
  DeleteDC(imageA);
  DeleteDC(imageB);
  DeleteObject(bitmapA);
  DeleteObject(bitmapB);
  DeleteObject(bluePen);
  DeleteObject(whitePen);
  BitBlt(paintDC, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  DeleteObject(blueBrush);
  DeleteObject(whiteBrush);
  DeleteDC(memory);
  DeleteObject(buffer);
}

// Whether a pixel is a blend of the two colours only.
bool Between(COLORREF pixel, COLORREF a, COLORREF b) {
  for (int shift : {0, 8, 16}) {
    int v = (pixel >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (v < std::min(x, y) || v > std::max(x, y)) return false;
  }
  return true;
}

}  // namespace

TEST(OffscreenBar, TextChangesColourExactlyAtTheFillEdge) {
  constexpr int w = 200, h = 20;
  SurfaceCanvas screen(w, h, RGB(192, 192, 192));
  DrawBar(screen.dc(), w, h, 500, 1000);
  int blackish = 0, whiteOnBlue = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      COLORREF pixel = screen.At(x, y);
      if (x < 100) {
        ASSERT_TRUE(Between(pixel, kBlue, kWhite));
        whiteOnBlue += pixel != kBlue;
      } else {
        ASSERT_TRUE(Between(pixel, kBlack, kWhite));
        blackish += pixel != kWhite;
      }
    }
  EXPECT_GT(whiteOnBlue, 10);  // "5" and part of "0" in white on the blue side
  EXPECT_GT(blackish, 10);
}

TEST(OffscreenBar, EmptyAndFullBars) {
  constexpr int w = 120, h = 16;
  SurfaceCanvas empty(w, h, RGB(192, 192, 192)), full(w, h, RGB(192, 192, 192));
  DrawBar(empty.dc(), w, h, 0, 1000);
  DrawBar(full.dc(), w, h, 1000, 1000);
  for (int y = 0; y < h; ++y) {
    EXPECT_EQ(empty.At({{0, y}, {w - 1, y}}), (qm::test::Colours{kWhite, kWhite}));
    EXPECT_EQ(full.At({{0, y}, {w - 1, y}}), (qm::test::Colours{kBlue, kBlue}));
  }
  EXPECT_NE(qm::test::InkBounds(empty.surface(), kWhite).right, 0);  // "0%" in black
  EXPECT_NE(qm::test::InkBounds(full.surface(), kBlue).right, 0);    // "100%" in white
}
