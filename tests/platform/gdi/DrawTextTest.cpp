#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"

using qm::test::InkBounds;
using qm::test::SurfaceCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

int LineHeight(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmHeight;
}

int Width(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

}  // namespace

TEST(DrawText, CalcRectMeasuresLinesAndWrapsAtWords) {
  SurfaceCanvas canvas(4, 4);
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  int line = LineHeight(canvas.dc());
  struct Row {
    const char* text;
    UINT format;
    int width;
    int lines;
  } rows[] = {
      {"one line", DT_SINGLELINE, 500, 1},
      {"first\nsecond\r\nthird", 0, 500, 3},
      {"alpha beta gamma delta", DT_WORDBREAK, 0, 4},  // every word on its own line
      {"alpha beta gamma delta", DT_WORDBREAK, 500, 1},
      {"alpha beta\ngamma", DT_WORDBREAK, 500, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    RECT rect{10, 20, 10 + row.width, 20};
    if (row.width == 0) rect.right = 10 + Width(canvas.dc(), "gamma");
    int height = DrawTextA(canvas.dc(), row.text, -1, &rect, row.format | DT_CALCRECT);
    EXPECT_EQ(height, row.lines * line);
    EXPECT_EQ(rect.bottom, 20 + row.lines * line);
  }
  EXPECT_EQ(InkBounds(canvas.surface(), kWhite).right, 0);  // measuring draws nothing
}

TEST(DrawText, WrappedLinesFitTheRectangle) {
  SurfaceCanvas canvas(200, 100);
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  const char* text = "The game is copied to the folder you choose below.";
  int width = Width(canvas.dc(), "The game is copied to");
  RECT rect{0, 0, width, 100};
  int height = DrawTextA(canvas.dc(), text, -1, &rect, DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_GT(height, LineHeight(canvas.dc()));
  RECT ink = InkBounds(canvas.surface(), kWhite);
  EXPECT_LE(ink.right, width);
  EXPECT_GT(ink.right, width - 8);  // the first line fills the width
  EXPECT_LE(ink.bottom, height);
}

// A word wider than the line: on a line of its own and wider than asked,
// or, as an edit control shows it, broken where it stops fitting.
TEST(DrawText, AWordWiderThanTheLineIsBrokenOnlyAsAnEditControlBreaksIt) {
  SurfaceCanvas canvas(200, 100);
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  const char* text = "Source C:\\Games\\Quellmoor\\db\\levels.dat";
  const int width = Width(canvas.dc(), "Source C:\\Games");
  RECT plain{0, 0, width, 0}, broken{0, 0, width, 0};
  DrawTextA(canvas.dc(), text, -1, &plain, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  DrawTextA(canvas.dc(), text, -1, &broken, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT);
  EXPECT_EQ(plain.bottom, 2 * LineHeight(canvas.dc()));
  EXPECT_GT(plain.right, width);
  EXPECT_LE(broken.right, width);
  EXPECT_GE(broken.bottom, 3 * LineHeight(canvas.dc()));
}

TEST(DrawText, AmpersandUnderlinesTheNextCharacterAndDoubledIsLiteral) {
  SurfaceCanvas plain(100, 30), marked(100, 30), doubled(100, 30);
  RECT rect{0, 0, 100, 30};
  for (HDC dc : {plain.dc(), marked.dc(), doubled.dc()}) SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(plain.dc(), "Next", -1, &rect, DT_SINGLELINE);
  DrawTextA(marked.dc(), "&Next", -1, &rect, DT_SINGLELINE);
  int line = LineHeight(marked.dc());
  // The same glyphs at the same places; only an underline below "N" is added.
  int differing = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x)
      if (plain.At(x, y) != marked.At(x, y)) {
        ++differing;
        EXPECT_LT(x, Width(marked.dc(), "N")) << x << "," << y;
        EXPECT_GT(y, line / 2) << x << "," << y;
      }
  EXPECT_GT(differing, 3);

  DrawTextA(doubled.dc(), "A&&B", -1, &rect, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(rect.right, Width(doubled.dc(), "A&B"));
  RECT noPrefix{0, 0, 100, 30};
  DrawTextA(doubled.dc(), "A&&B", -1, &noPrefix, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(noPrefix.right, Width(doubled.dc(), "A&&B"));
}

TEST(DrawText, HiddenPrefixDrawsNoUnderline) {
  SurfaceCanvas plain(100, 30), hidden(100, 30);
  RECT rect{0, 0, 100, 30};
  DrawTextA(plain.dc(), "Next", -1, &rect, DT_SINGLELINE);
  DrawTextA(hidden.dc(), "&Next", -1, &rect, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(plain.surface().pixels, hidden.surface().pixels);
}

TEST(DrawText, AlignmentAndVerticalCentre) {
  struct Row {
    UINT format;
    int expectedLeft;  // relative to the slack
  } rows[] = {{DT_LEFT, 0}, {DT_CENTER, 1}, {DT_RIGHT, 2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    SurfaceCanvas canvas(120, 40);
    SetBkColor(canvas.dc(), RGB(0, 0, 0));  // the opaque cell shows where the text went
    int width = Width(canvas.dc(), "Go");
    int line = LineHeight(canvas.dc());
    RECT rect{10, 0, 110, 40};
    DrawTextA(canvas.dc(), "Go", -1, &rect, row.format | DT_SINGLELINE | DT_VCENTER);
    RECT ink = InkBounds(canvas.surface(), kWhite);
    int slack = 100 - width;
    EXPECT_EQ(ink.left, 10 + slack * row.expectedLeft / 2);
    EXPECT_EQ(ink.top, (40 - line) / 2);
  }
}

TEST(DrawText, ClipsToTheRectangleUnlessAskedNotTo) {
  SurfaceCanvas clipped(100, 30), free(100, 30);
  for (HDC dc : {clipped.dc(), free.dc()}) SetBkColor(dc, RGB(0, 0, 0));
  RECT rect{0, 0, 10, 30};
  DrawTextA(clipped.dc(), "Wide text", -1, &rect, DT_SINGLELINE);
  DrawTextA(free.dc(), "Wide text", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(InkBounds(clipped.surface(), kWhite).right, 10);
  EXPECT_GT(InkBounds(free.surface(), kWhite).right, 10);
  // The clip is only for the call.
  EXPECT_EQ(SetPixel(clipped.dc(), 50, 5, RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(DrawText, EndEllipsisKeepsTheTextInsideTheRectangle) {
  SurfaceCanvas canvas(200, 30);
  int limit = Width(canvas.dc(), "C:\\Games\\Q");
  RECT rect{0, 0, limit, 30};
  DrawTextA(canvas.dc(), "C:\\Games\\Quellmoor\\Data", -1, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(rect.right, limit);
}
