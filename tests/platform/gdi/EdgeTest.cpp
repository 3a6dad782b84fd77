#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/ui/WinUser.h"

using qm::test::SurfaceCanvas;

namespace {
constexpr COLORREF kFace = RGB(192, 192, 192), kHighlight = RGB(255, 255, 255), kLight = RGB(223, 223, 223),
                   kShadow = RGB(128, 128, 128), kDark = RGB(0, 0, 0);
}

TEST(Edges, ClassicColoursOfEachEdgeKind) {
  struct Row {
    UINT edge;
    COLORREF outerTopLeft, innerTopLeft, innerBottomRight, outerBottomRight;
  } rows[] = {
      {EDGE_RAISED, kLight, kHighlight, kShadow, kDark},
      {EDGE_SUNKEN, kShadow, kDark, kLight, kHighlight},
      {EDGE_ETCHED, kShadow, kHighlight, kShadow, kHighlight},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edge);
    SurfaceCanvas canvas(10, 10, RGB(1, 1, 1));
    RECT rect{1, 1, 9, 9};
    DrawEdge(canvas.dc(), &rect, row.edge, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(canvas.At(4, 1), row.outerTopLeft);
    EXPECT_EQ(canvas.At(1, 4), row.outerTopLeft);
    EXPECT_EQ(canvas.At(4, 2), row.innerTopLeft);
    EXPECT_EQ(canvas.At(6, 7), row.innerBottomRight);
    EXPECT_EQ(canvas.At(7, 6), row.innerBottomRight);
    EXPECT_EQ(canvas.At(4, 8), row.outerBottomRight);
    EXPECT_EQ(canvas.At(8, 1), row.outerBottomRight);  // the corner goes to the bottom-right half
    EXPECT_EQ(canvas.At(4, 4), kFace);
    EXPECT_EQ(canvas.At(9, 9), RGB(1, 1, 1));
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 3);
    EXPECT_EQ(rect.right, 7);
    EXPECT_EQ(rect.bottom, 7);
  }
}

TEST(Edges, OnlyTheAskedSidesAreDrawnAndAdjusted) {
  SurfaceCanvas canvas(10, 10);
  RECT rect{0, 0, 10, 10};
  DrawEdge(canvas.dc(), &rect, EDGE_SUNKEN, BF_BOTTOM | BF_ADJUST);
  EXPECT_EQ(canvas.At(5, 9), kHighlight);
  EXPECT_EQ(canvas.At(5, 8), kLight);
  EXPECT_EQ(canvas.At(5, 0), kHighlight);  // untouched white
  EXPECT_EQ(canvas.At(0, 5), kHighlight);
  EXPECT_EQ(rect.bottom, 8);
  EXPECT_EQ(rect.top, 0);
}

TEST(SystemColours, ClassicPaletteAndIndexBrushes) {
  struct Row {
    int index;
    COLORREF color;
  } rows[] = {{COLOR_BTNFACE, kFace},          {COLOR_ACTIVECAPTION, RGB(0, 0, 128)},
              {COLOR_CAPTIONTEXT, kHighlight}, {COLOR_INACTIVECAPTION, kShadow},
              {COLOR_WINDOW, kHighlight},      {COLOR_WINDOWTEXT, kDark},
              {COLOR_HIGHLIGHT, RGB(0, 0, 128)}, {COLOR_GRAYTEXT, kShadow},
              {COLOR_3DDKSHADOW, kDark},       {COLOR_3DLIGHT, kLight}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(GetSysColor(row.index), row.color);
    SurfaceCanvas canvas(2, 1, RGB(7, 7, 7));
    RECT left{0, 0, 1, 1}, right{1, 0, 2, 1};
    FillRect(canvas.dc(), &left, GetSysColorBrush(row.index));
    FillRect(canvas.dc(), &right, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(row.index + 1)));
    EXPECT_EQ(canvas.At(0, 0), row.color);
    EXPECT_EQ(canvas.At(1, 0), row.color);
  }
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), brush);
  LOGBRUSH logBrush{};
  EXPECT_EQ(GetObjectA(brush, sizeof logBrush, &logBrush), int(sizeof logBrush));
}
