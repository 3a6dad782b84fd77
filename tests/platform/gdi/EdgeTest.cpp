#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/ui/WinUser.h"

using qm::test::Colours;
using qm::test::Sides;
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
    // (8, 1): the corner goes to the bottom-right half.
    EXPECT_EQ(canvas.At({{4, 1}, {1, 4}, {4, 2}, {6, 7}, {7, 6}, {4, 8}, {8, 1}, {4, 4}, {9, 9}}),
              (Colours{row.outerTopLeft, row.outerTopLeft, row.innerTopLeft, row.innerBottomRight, row.innerBottomRight,
                       row.outerBottomRight, row.outerBottomRight, kFace, RGB(1, 1, 1)}));
    EXPECT_EQ(Sides(rect), Sides({3, 3, 7, 7}));
  }
}

TEST(Edges, OnlyTheAskedSidesAreDrawnAndAdjusted) {
  SurfaceCanvas canvas(10, 10);
  RECT rect{0, 0, 10, 10};
  DrawEdge(canvas.dc(), &rect, EDGE_SUNKEN, BF_BOTTOM | BF_ADJUST);
  // The top and left sides stay untouched white.
  EXPECT_EQ(canvas.At({{5, 9}, {5, 8}, {5, 0}, {0, 5}}), (Colours{kHighlight, kLight, kHighlight, kHighlight}));
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
    EXPECT_EQ(canvas.At({{0, 0}, {1, 0}}), (Colours{row.color, row.color}));
  }
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), brush);
  LOGBRUSH logBrush{};
  EXPECT_EQ(GetObjectA(brush, sizeof logBrush, &logBrush), int(sizeof logBrush));
}
