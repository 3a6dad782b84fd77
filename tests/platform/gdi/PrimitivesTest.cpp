#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/ui/WinUser.h"

using qm::test::Colours;
using qm::test::InkBounds;
using qm::test::Sides;
using qm::test::SurfaceCanvas;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
}  // namespace

TEST(Lines, OnePixelLineCoversItsRowAndLeavesOutTheEndPoint) {
  SurfaceCanvas canvas(8, 4);
  canvas.Use(CreatePen(PS_SOLID, 1, kRed));
  MoveToEx(canvas.dc(), 1, 2, nullptr);
  LineTo(canvas.dc(), 6, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      SCOPED_TRACE(testing::Message() << "x=" << x << " y=" << y);
      EXPECT_EQ(canvas.At(x, y), (y == 2 && x >= 1 && x < 6) ? kRed : kWhite);
    }
}

TEST(Lines, VerticalAndDiagonalLinesLeaveOutTheEndPoint) {
  struct Row {
    POINT from, to;
    POINT firstDrawn, lastDrawn, notDrawn;
  } rows[] = {
      {{3, 0}, {3, 5}, {3, 0}, {3, 4}, {3, 5}},
      {{0, 0}, {5, 5}, {0, 0}, {4, 4}, {5, 5}},
      {{6, 1}, {1, 1}, {6, 1}, {2, 1}, {1, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "line to " << row.to.x << "," << row.to.y);
    SurfaceCanvas canvas(8, 8);
    MoveToEx(canvas.dc(), row.from.x, row.from.y, nullptr);
    LineTo(canvas.dc(), row.to.x, row.to.y);
    EXPECT_EQ(canvas.At({row.firstDrawn, row.lastDrawn, row.notDrawn}), (Colours{kBlack, kBlack, kWhite}));
    POINT position{};
    MoveToEx(canvas.dc(), 0, 0, &position);
    EXPECT_EQ(qm::test::XY(position), qm::test::XY(row.to));
  }
}

TEST(Lines, GradientOfOneLinePerRowFallsFrom192ToOne) {
  constexpr int width = 16, height = 768;
  SurfaceCanvas canvas(width, height);
  for (int i = 0; i < height; ++i) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, BYTE(192 - (192 * i) / height)));
    HGDIOBJ old = SelectObject(canvas.dc(), pen);
    MoveToEx(canvas.dc(), 0, i, nullptr);
    LineTo(canvas.dc(), width, i);
    SelectObject(canvas.dc(), old);
    EXPECT_TRUE(DeleteObject(pen));
  }
  EXPECT_EQ(canvas.At({{0, 0}, {width - 1, 0}, {7, 384}, {width - 1, 767}}),
            (Colours{RGB(0, 0, 192), RGB(0, 0, 192), RGB(0, 0, 96), RGB(0, 0, 1)}));
}

TEST(Rectangles, OutlineSitsInsideAndRightAndBottomAreLeftOut) {
  SurfaceCanvas canvas(10, 10);
  canvas.Use(CreatePen(PS_SOLID, 1, kRed));
  canvas.Use(CreateSolidBrush(kBlue));
  Rectangle(canvas.dc(), 2, 2, 7, 6);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      SCOPED_TRACE(testing::Message() << "x=" << x << " y=" << y);
      bool inside = x >= 2 && x <= 6 && y >= 2 && y <= 5;
      bool edge = inside && (x == 2 || x == 6 || y == 2 || y == 5);
      EXPECT_EQ(canvas.At(x, y), !inside ? kWhite : edge ? kRed : kBlue);
    }
}

TEST(Rectangles, NullPenAndNullBrush) {
  SurfaceCanvas canvas(8, 8);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  canvas.Use(CreateSolidBrush(kBlue));
  // Without a pen the fill loses the column and row the outline would take.
  Rectangle(canvas.dc(), 1, 1, 5, 5);
  EXPECT_EQ(canvas.At({{1, 1}, {3, 3}, {4, 3}, {3, 4}}), (Colours{kBlue, kBlue, kWhite, kWhite}));

  SurfaceCanvas hollow(8, 8);
  SelectObject(hollow.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(hollow.dc(), 1, 1, 6, 6);
  EXPECT_EQ(hollow.At({{1, 1}, {5, 5}, {3, 3}}), (Colours{kBlack, kBlack, kWhite}));
}

TEST(Rectangles, ZeroWidthRectangleDrawsNothing) {
  SurfaceCanvas canvas(6, 6);
  Rectangle(canvas.dc(), 3, 0, 3, 6);
  EXPECT_EQ(InkBounds(canvas.surface(), kWhite).right, 0);
}

TEST(FillRects, FillExcludesRightAndBottomAndTakesSystemColourIndexes) {
  SurfaceCanvas canvas(6, 6);
  RECT rect{1, 1, 4, 3};
  FillRect(canvas.dc(), &rect, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_ACTIVECAPTION + 1)));
  EXPECT_EQ(Sides(InkBounds(canvas.surface(), kWhite)), Sides({1, 1, 4, 3}));
  EXPECT_EQ(canvas.At(3, 2), RGB(0, 0, 128));
}

TEST(FillRects, FrameInvertAndFocusRectangles) {
  SurfaceCanvas canvas(8, 8);
  RECT rect{1, 1, 7, 7};
  FrameRect(canvas.dc(), &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.At({{1, 1}, {6, 6}, {2, 2}, {7, 7}}), (Colours{kBlack, kBlack, kWhite, kWhite}));

  InvertRect(canvas.dc(), &rect);
  EXPECT_EQ(canvas.At({{1, 1}, {3, 3}}), (Colours{kWhite, kBlack}));

  SurfaceCanvas focus(8, 8);
  DrawFocusRect(focus.dc(), &rect);
  EXPECT_EQ(focus.At({{1, 1}, {2, 1}, {3, 1}}), (Colours{kBlack, kWhite, kBlack})) << "dotted";
  DrawFocusRect(focus.dc(), &rect);  // a second draw takes it away again
  EXPECT_EQ(InkBounds(focus.surface(), kWhite).right, 0);
}

TEST(Pixels, SetAndGetThroughOriginAndClip) {
  auto surface = std::make_shared<qm::ui::Surface>(10, 10, 0xFFFFFFFFu);
  HDC dc = qm::ui::CreateSurfaceDC(surface, POINT{2, 3}, RECT{2, 3, 6, 7}, nullptr);
  EXPECT_EQ(SetPixel(dc, 1, 1, kRed), kRed);
  EXPECT_EQ(qm::ui::ColorFromPixel(surface->At(3, 4)), kRed);
  EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
  EXPECT_EQ(SetPixel(dc, 4, 0, kRed), CLR_INVALID);  // outside the clip
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  EXPECT_EQ(Sides(qm::ui::TakeDrawnBounds(dc)), Sides({3, 4, 4, 5}));
  EXPECT_EQ(qm::ui::TakeDrawnBounds(dc).right, 0);
  qm::ui::DestroySurfaceDC(dc);
}

TEST(Pixels, ClipAndViewportSurviveSaveAndRestore) {
  SurfaceCanvas canvas(10, 10);
  int saved = SaveDC(canvas.dc());
  SetViewportOrgEx(canvas.dc(), 2, 2, nullptr);
  IntersectClipRect(canvas.dc(), 0, 0, 3, 3);
  RECT all{-5, -5, 20, 20};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT ink = InkBounds(canvas.surface(), kWhite);
  EXPECT_EQ(std::tuple(ink.left, ink.right, ink.bottom), std::tuple(2, 5, 5));
  EXPECT_TRUE(RestoreDC(canvas.dc(), saved));
  EXPECT_EQ(SetPixel(canvas.dc(), 9, 9, kRed), kRed);
}

TEST(Lines, PolylineJoinsPointsAndLeavesOutOnlyTheLast) {
  SurfaceCanvas canvas(6, 6);
  POINT points[] = {{0, 0}, {4, 0}, {4, 4}};
  Polyline(canvas.dc(), points, 3);
  EXPECT_EQ(canvas.At({{0, 0}, {4, 0}, {4, 3}, {4, 4}}), (Colours{kBlack, kBlack, kBlack, kWhite}));
}

TEST(Lines, WidePenAndDottedPen) {
  SurfaceCanvas wide(10, 10);
  wide.Use(CreatePen(PS_SOLID, 3, kRed));
  MoveToEx(wide.dc(), 2, 5, nullptr);
  LineTo(wide.dc(), 8, 5);
  RECT ink = InkBounds(wide.surface(), kWhite);
  EXPECT_EQ(std::tuple(ink.top, ink.bottom, ink.left), std::tuple(4, 7, 1));

  SurfaceCanvas dotted(10, 1);
  dotted.Use(CreatePen(PS_DOT, 1, kRed));
  MoveToEx(dotted.dc(), 0, 0, nullptr);
  LineTo(dotted.dc(), 10, 0);
  EXPECT_EQ(dotted.At({{0, 0}, {1, 0}, {2, 0}}), (Colours{kRed, kWhite, kRed}));
}
