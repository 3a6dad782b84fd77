#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/ui/WinUser.h"

using qm::test::SurfaceCanvas;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
}  // namespace

TEST(Lines, OnePixelLineCoversItsRowAndLeavesOutTheEndPoint) {
  SurfaceCanvas canvas(8, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  MoveToEx(canvas.dc(), 1, 2, nullptr);
  LineTo(canvas.dc(), 6, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      SCOPED_TRACE(testing::Message() << "x=" << x << " y=" << y);
      EXPECT_EQ(canvas.At(x, y), (y == 2 && x >= 1 && x < 6) ? kRed : kWhite);
    }
  SelectObject(canvas.dc(), old);
  DeleteObject(pen);
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
    EXPECT_EQ(canvas.At(row.firstDrawn.x, row.firstDrawn.y), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(row.lastDrawn.x, row.lastDrawn.y), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(row.notDrawn.x, row.notDrawn.y), kWhite);
    POINT position{};
    MoveToEx(canvas.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, row.to.x);
    EXPECT_EQ(position.y, row.to.y);
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
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 192));
  EXPECT_EQ(canvas.At(width - 1, 0), RGB(0, 0, 192));
  EXPECT_EQ(canvas.At(7, 384), RGB(0, 0, 96));
  EXPECT_EQ(canvas.At(width - 1, 767), RGB(0, 0, 1));
}

TEST(Rectangles, OutlineSitsInsideAndRightAndBottomAreLeftOut) {
  SurfaceCanvas canvas(10, 10);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HBRUSH brush = CreateSolidBrush(kBlue);
  SelectObject(canvas.dc(), pen);
  SelectObject(canvas.dc(), brush);
  Rectangle(canvas.dc(), 2, 2, 7, 6);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      SCOPED_TRACE(testing::Message() << "x=" << x << " y=" << y);
      bool inside = x >= 2 && x <= 6 && y >= 2 && y <= 5;
      bool edge = inside && (x == 2 || x == 6 || y == 2 || y == 5);
      EXPECT_EQ(canvas.At(x, y), !inside ? kWhite : edge ? kRed : kBlue);
    }
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Rectangles, NullPenAndNullBrush) {
  SurfaceCanvas canvas(8, 8);
  HBRUSH brush = CreateSolidBrush(kBlue);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), brush);
  // Without a pen the fill loses the column and row the outline would take.
  Rectangle(canvas.dc(), 1, 1, 5, 5);
  EXPECT_EQ(canvas.At(1, 1), kBlue);
  EXPECT_EQ(canvas.At(3, 3), kBlue);
  EXPECT_EQ(canvas.At(4, 3), kWhite);
  EXPECT_EQ(canvas.At(3, 4), kWhite);

  SurfaceCanvas hollow(8, 8);
  SelectObject(hollow.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(hollow.dc(), 1, 1, 6, 6);
  EXPECT_EQ(hollow.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(hollow.At(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(hollow.At(3, 3), kWhite);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Rectangles, ZeroWidthRectangleDrawsNothing) {
  SurfaceCanvas canvas(6, 6);
  Rectangle(canvas.dc(), 3, 0, 3, 6);
  EXPECT_EQ(qm::test::InkBounds(canvas.surface(), kWhite).right, 0);
}

TEST(FillRects, FillExcludesRightAndBottomAndTakesSystemColourIndexes) {
  SurfaceCanvas canvas(6, 6);
  RECT rect{1, 1, 4, 3};
  FillRect(canvas.dc(), &rect, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_ACTIVECAPTION + 1)));
  RECT ink = qm::test::InkBounds(canvas.surface(), kWhite);
  EXPECT_EQ(ink.left, 1);
  EXPECT_EQ(ink.top, 1);
  EXPECT_EQ(ink.right, 4);
  EXPECT_EQ(ink.bottom, 3);
  EXPECT_EQ(canvas.At(3, 2), RGB(0, 0, 128));
}

TEST(FillRects, FrameInvertAndFocusRectangles) {
  SurfaceCanvas canvas(8, 8);
  RECT rect{1, 1, 7, 7};
  FrameRect(canvas.dc(), &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(6, 6), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(2, 2), kWhite);
  EXPECT_EQ(canvas.At(7, 7), kWhite);

  InvertRect(canvas.dc(), &rect);
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0));

  SurfaceCanvas focus(8, 8);
  DrawFocusRect(focus.dc(), &rect);
  EXPECT_EQ(focus.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(focus.At(2, 1), kWhite);  // dotted
  EXPECT_EQ(focus.At(3, 1), RGB(0, 0, 0));
  DrawFocusRect(focus.dc(), &rect);  // a second draw takes it away again
  EXPECT_EQ(qm::test::InkBounds(focus.surface(), kWhite).right, 0);
}

TEST(Pixels, SetAndGetThroughOriginAndClip) {
  auto surface = std::make_shared<qm::ui::Surface>(10, 10, 0xFFFFFFFFu);
  HDC dc = qm::ui::CreateSurfaceDC(surface, POINT{2, 3}, RECT{2, 3, 6, 7}, nullptr);
  EXPECT_EQ(SetPixel(dc, 1, 1, kRed), kRed);
  EXPECT_EQ(qm::ui::ColorFromPixel(surface->At(3, 4)), kRed);
  EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
  EXPECT_EQ(SetPixel(dc, 4, 0, kRed), CLR_INVALID);  // outside the clip
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  RECT drawn = qm::ui::TakeDrawnBounds(dc);
  EXPECT_EQ(drawn.left, 3);
  EXPECT_EQ(drawn.top, 4);
  EXPECT_EQ(drawn.right, 4);
  EXPECT_EQ(drawn.bottom, 5);
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
  RECT ink = qm::test::InkBounds(canvas.surface(), kWhite);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.right, 5);
  EXPECT_EQ(ink.bottom, 5);
  EXPECT_TRUE(RestoreDC(canvas.dc(), saved));
  EXPECT_EQ(SetPixel(canvas.dc(), 9, 9, kRed), kRed);
}

TEST(Lines, PolylineJoinsPointsAndLeavesOutOnlyTheLast) {
  SurfaceCanvas canvas(6, 6);
  POINT points[] = {{0, 0}, {4, 0}, {4, 4}};
  Polyline(canvas.dc(), points, 3);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(4, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(4, 3), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(4, 4), kWhite);
}

TEST(Lines, WidePenAndDottedPen) {
  SurfaceCanvas wide(10, 10);
  HPEN pen = CreatePen(PS_SOLID, 3, kRed);
  SelectObject(wide.dc(), pen);
  MoveToEx(wide.dc(), 2, 5, nullptr);
  LineTo(wide.dc(), 8, 5);
  RECT ink = qm::test::InkBounds(wide.surface(), kWhite);
  EXPECT_EQ(ink.top, 4);
  EXPECT_EQ(ink.bottom, 7);
  EXPECT_EQ(ink.left, 1);
  SelectObject(wide.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);

  SurfaceCanvas dotted(10, 1);
  HPEN dots = CreatePen(PS_DOT, 1, kRed);
  SelectObject(dotted.dc(), dots);
  MoveToEx(dotted.dc(), 0, 0, nullptr);
  LineTo(dotted.dc(), 10, 0);
  EXPECT_EQ(dotted.At(0, 0), kRed);
  EXPECT_EQ(dotted.At(1, 0), kWhite);
  EXPECT_EQ(dotted.At(2, 0), kRed);
  SelectObject(dotted.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(dots);
}
