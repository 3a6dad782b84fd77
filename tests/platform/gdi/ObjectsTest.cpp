#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using qm::test::Colours;
using qm::test::SurfaceCanvas;

TEST(Objects, SelectObjectReturnsThePreviousObjectOfThatKind) {
  SurfaceCanvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
  EXPECT_EQ(SelectObject(canvas.dc(), pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(canvas.dc(), brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(canvas.dc(), font), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(WHITE_PEN)), pen);
  EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
  // A bitmap does not go into a window's DC.
  HBITMAP bitmap = CreateCompatibleBitmap(canvas.dc(), 2, 2);
  EXPECT_EQ(SelectObject(canvas.dc(), bitmap), nullptr);
  for (HGDIOBJ object : {pen, brush, bitmap}) EXPECT_TRUE(DeleteObject(object));
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
}

TEST(Objects, DeletingASelectedObjectWaitsUntilItIsDeselected) {
  SurfaceCanvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SelectObject(canvas.dc(), pen);
  EXPECT_TRUE(DeleteObject(pen));
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 3, 0);
  EXPECT_EQ(canvas.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(BLACK_PEN)), pen);
  LOGPEN logPen{};
  EXPECT_EQ(GetObjectA(pen, sizeof logPen, &logPen), 0);  // gone once let go
}

TEST(Objects, StockObjectsAreNeverDeleted) {
  HGDIOBJ brush = GetStockObject(GRAY_BRUSH);
  EXPECT_TRUE(DeleteObject(brush));
  LOGBRUSH logBrush{};
  ASSERT_EQ(GetObjectA(brush, sizeof logBrush, &logBrush), int(sizeof logBrush));
  EXPECT_EQ(logBrush.lbColor, RGB(128, 128, 128));
}

TEST(MemoryDCs, CompatibleBitmapRoundTrip) {
  SurfaceCanvas screen(12, 6);
  HDC memory = CreateCompatibleDC(screen.dc());
  ASSERT_NE(memory, nullptr);
  BITMAP info{};
  // A fresh memory DC holds a 1x1 bitmap.
  GetObjectA(GetCurrentObject(memory, OBJ_BITMAP), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 1);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.dc(), 12, 6);
  ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), int(sizeof info));
  EXPECT_EQ(std::tuple(info.bmWidth, info.bmHeight, info.bmBitsPixel), std::tuple(12, 6, 32));
  HGDIOBJ previous = SelectObject(memory, bitmap);
  EXPECT_NE(previous, nullptr);
  EXPECT_EQ(GetDeviceCaps(memory, HORZRES), 12);
  RECT all{0, 0, 12, 6};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(memory, 5, 3, RGB(10, 20, 30));
  EXPECT_TRUE(BitBlt(screen.dc(), 0, 0, 12, 6, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(screen.At({{5, 3}, {6, 3}}), (Colours{RGB(10, 20, 30), RGB(255, 255, 255)}));
  SelectObject(memory, previous);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(MemoryDCs, BitmapFromAFreshMemoryDCHoldsColour) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(first);
  HBITMAP bitmap = CreateCompatibleBitmap(second, 3, 3);
  SelectObject(second, bitmap);
  SetPixel(second, 1, 1, RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(second, 1, 1), RGB(0, 0, 255));
  DeleteDC(second);
  DeleteDC(first);
  DeleteObject(bitmap);
}

TEST(BlockTransfers, ColumnRangeCopiesExactlyThoseColumns) {
  SurfaceCanvas source(10, 3, RGB(0, 0, 255));
  for (int x = 0; x < 10; ++x) SetPixel(source.dc(), x, 1, RGB(x * 20, 0, 0));
  SurfaceCanvas dest(20, 3);
  BitBlt(dest.dc(), 12, 0, 4, 3, source.dc(), 3, 0, SRCCOPY);
  for (int x = 0; x < 20; ++x) {
    SCOPED_TRACE(x);
    bool copied = x >= 12 && x < 16;
    EXPECT_EQ(dest.At(x, 1), copied ? RGB((x - 12 + 3) * 20, 0, 0) : RGB(255, 255, 255));
    EXPECT_EQ(dest.At(x, 0), copied ? RGB(0, 0, 255) : RGB(255, 255, 255));
  }
}

TEST(BlockTransfers, OverlappingCopyWithinOneSurface) {
  SurfaceCanvas canvas(8, 1);
  for (int x = 0; x < 8; ++x) SetPixel(canvas.dc(), x, 0, RGB(x, 0, 0));
  BitBlt(canvas.dc(), 2, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY);
  for (int x = 2; x < 7; ++x) EXPECT_EQ(canvas.At(x, 0), RGB(x - 2, 0, 0)) << x;
  EXPECT_EQ(canvas.At(7, 0), RGB(7, 0, 0));
}

TEST(BlockTransfers, RasterOperationsWithoutSource) {
  SurfaceCanvas canvas(4, 1, RGB(10, 20, 30));
  BitBlt(canvas.dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
  BitBlt(canvas.dc(), 1, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  BitBlt(canvas.dc(), 2, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
  SelectObject(canvas.dc(), GetStockObject(GRAY_BRUSH));
  BitBlt(canvas.dc(), 3, 0, 1, 1, nullptr, 0, 0, PATCOPY);
  EXPECT_EQ(canvas.At({{0, 0}, {1, 0}, {2, 0}, {3, 0}}),
            (Colours{RGB(0, 0, 0), RGB(255, 255, 255), RGB(245, 235, 225), RGB(128, 128, 128)}));
}

TEST(BlockTransfers, StretchDoublesEachPixel) {
  SurfaceCanvas source(2, 1);
  SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(source.dc(), 1, 0, RGB(0, 255, 0));
  SurfaceCanvas dest(4, 2);
  StretchBlt(dest.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dest.At({{1, 1}, {2, 0}, {3, 1}}), (Colours{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 255, 0)}));
}

TEST(MemoryDCs, BitmapDeletedWhileSelectedIsFreedWithItsDC) {
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 4);
  SelectObject(memory, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(SetPixel(memory, 3, 3, RGB(9, 9, 9)), RGB(9, 9, 9));  // still drawable
  // A bitmap sits in one DC at a time.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  EXPECT_TRUE(DeleteDC(memory));
  BITMAP info{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), 0);
  EXPECT_FALSE(DeleteDC(memory));
  DeleteDC(other);
}

TEST(MemoryDCs, RestoreDCGivesBackSavedObjectsAndColours) {
  SurfaceCanvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  int level = SaveDC(canvas.dc());
  SelectObject(canvas.dc(), pen);
  SetTextColor(canvas.dc(), RGB(5, 5, 5));
  SetBkMode(canvas.dc(), TRANSPARENT);
  SaveDC(canvas.dc());
  EXPECT_TRUE(RestoreDC(canvas.dc(), level));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
  EXPECT_FALSE(RestoreDC(canvas.dc(), -1));  // both levels are used up
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(Objects, StaleHandlesFindNothingAfterNewObjectsAreMade) {
  HDC first = CreateCompatibleDC(nullptr);
  DeleteDC(first);
  HDC second = CreateCompatibleDC(nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(GetBkMode(first), 0);
  EXPECT_EQ(SetPixel(first, 0, 0, RGB(1, 1, 1)), CLR_INVALID);
  HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  DeleteObject(brush);
  HBRUSH next = CreateSolidBrush(RGB(2, 2, 2));
  EXPECT_NE(brush, next);
  EXPECT_EQ(SelectObject(second, brush), nullptr);
  DeleteObject(next);
  DeleteDC(second);
}
