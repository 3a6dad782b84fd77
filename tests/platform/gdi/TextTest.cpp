#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GdiTestSupport.h"

using qm::test::InkBounds;
using qm::test::Sides;
using qm::test::SurfaceCanvas;

namespace {

HFONT PointFont(const char* face, int points, int weight = FW_NORMAL) {
  return CreateFontA(-(points * 96 + 36) / 72, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

std::string FaceOf(HDC dc) {
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  return face;
}

}  // namespace

TEST(Fonts, WindowsFaceNamesMapToInstalledFacesOfTheSameKind) {
  struct Row {
    const char* requested;
    bool serif;
  } rows[] = {{"MS Sans Serif", false}, {"MS Shell Dlg", false}, {"Arial", false},
              {"Times Roman", true},    {"Times New Roman", true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.requested);
    SurfaceCanvas canvas(4, 4);
    canvas.Use(PointFont(row.requested, 8));
    std::string face = FaceOf(canvas.dc());
    EXPECT_FALSE(face.empty());
    EXPECT_EQ(face.find("Serif") != std::string::npos, row.serif) << face;
    EXPECT_EQ(face.find("Mono"), std::string::npos) << face;
  }
}

TEST(Fonts, DialogBaseUnitsOfTheDialogFaceAreTheClassicSixByThirteen) {
  SurfaceCanvas canvas(4, 4);
  canvas.Use(PointFont("MS Sans Serif", 8));
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
  const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), alphabet, 52, &size));
  int baseX = (size.cx + 26) / 52;
  RecordProperty("baseX", baseX);
  RecordProperty("baseY", tm.tmHeight);
  EXPECT_EQ(baseX, 6);
  EXPECT_EQ(tm.tmHeight, 13);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
}

TEST(Fonts, PositiveHeightIsTheCellAndWidthScalesTheAverage) {
  SurfaceCanvas canvas(4, 4);
  canvas.Use(CreateFontA(30, 15, 0, 0, 700, 1, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_TT_ALWAYS, PROOF_QUALITY, 0,
                         "Times Roman"));
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmHeight, 30);
  EXPECT_NEAR(tm.tmAveCharWidth, 15, 1);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmItalic, 1);

  SIZE wide{}, natural{};
  GetTextExtentPoint32A(canvas.dc(), "Installation", 12, &wide);
  canvas.Use(CreateFontA(30, 0, 0, 0, 700, 1, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Times Roman"));
  GetTextExtentPoint32A(canvas.dc(), "Installation", 12, &natural);
  EXPECT_GT(wide.cx, natural.cx + natural.cx / 5);
}

TEST(Fonts, DefaultFontOfANewDCIsABoldSystemFont) {
  SurfaceCanvas canvas(4, 4);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  HDC memory = CreateCompatibleDC(canvas.dc());
  TEXTMETRICA memoryTm{};
  GetTextMetricsA(memory, &memoryTm);
  EXPECT_EQ(memoryTm.tmHeight, tm.tmHeight);
  DeleteDC(memory);
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  GetTextMetricsA(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  EXPECT_LT(tm.tmHeight, 16);
}

TEST(Text, OpaqueBackgroundFillsExactlyTheExtentCell) {
  SurfaceCanvas canvas(120, 30);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  SIZE size{};
  GetTextExtentPoint32A(canvas.dc(), "42%", 3, &size);
  TextOutA(canvas.dc(), 5, 4, "42%", 3);
  EXPECT_EQ(Sides(InkBounds(canvas.surface(), RGB(255, 255, 255))), Sides({5, 4, 5 + size.cx, 4 + size.cy}));
  EXPECT_EQ(canvas.At(5, 4), RGB(0, 0, 255));
}

TEST(Text, TransparentTextLeavesTheBackgroundAndInkStaysInsideTheExtent) {
  SurfaceCanvas canvas(120, 30);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  canvas.Use(PointFont("MS Sans Serif", 8));
  const char* text = "Hello world";
  SIZE size{};
  GetTextExtentPoint32A(canvas.dc(), text, int(std::strlen(text)), &size);
  TextOutA(canvas.dc(), 10, 5, text, int(std::strlen(text)));
  RECT ink = InkBounds(canvas.surface(), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(10, 5), RGB(255, 255, 255));
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.left, 12);  // "H" starts at its left bearing
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.right, 10 + size.cx);
  EXPECT_GE(ink.right, 10 + size.cx - 2);  // "d" ends near the advance
  EXPECT_LE(ink.bottom, 5 + size.cy);
}

TEST(Text, Utf8AndExtentsOfPieces) {
  SurfaceCanvas canvas(4, 4);
  SIZE whole{}, left{}, right{};
  GetTextExtentPoint32A(canvas.dc(), "Gr\xC3\xBC\xC3\x9F" "e", 7, &whole);
  GetTextExtentPoint32A(canvas.dc(), "Gr\xC3\xBC", 4, &left);
  GetTextExtentPoint32A(canvas.dc(), "\xC3\x9F" "e", 3, &right);
  EXPECT_EQ(whole.cx, left.cx + right.cx);
  SIZE empty{1, 1};
  EXPECT_TRUE(GetTextExtentPoint32A(canvas.dc(), "", 0, &empty));
  EXPECT_EQ(empty.cx, 0);
}

TEST(Text, ControlCharactersLeaveNoMark) {
  SurfaceCanvas canvas(60, 20);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SIZE plain{}, withControls{};
  GetTextExtentPoint32A(canvas.dc(), "ab", 2, &plain);
  GetTextExtentPoint32A(canvas.dc(), "a\r\n\tb", 5, &withControls);
  EXPECT_EQ(plain.cx, withControls.cx);
  TextOutA(canvas.dc(), 0, 0, "\r\n\t", 3);
  EXPECT_EQ(InkBounds(canvas.surface(), RGB(255, 255, 255)).right, 0);
}

// Bytes that are not UTF-8 draw as U+FFFD, one for each ill-formed
// subsequence (the kernel's codec), never as the Latin-1 letter of the same
// number, and never vanish: an overlong zero used to draw as nothing.
TEST(Text, IllFormedBytesDrawAsOneReplacementCharacterEach) {
  const struct {
    const char* name;
    std::string bytes;
    std::string drawnAs;
  } rows[] = {
      {"latin-1 letter", "caf\xE9", "caf\xEF\xBF\xBD"},
      {"truncated character", "a\xE2\x82" "b", "a\xEF\xBF\xBD" "b"},
      {"lone continuations", "a\x80\xBF", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong zero", "\xE0\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"valid after invalid", "\xFF\xC3\xA9", "\xEF\xBF\xBD\xC3\xA9"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    // Its extent, its pixels and its measured width.
    auto draw = [](const std::string& text, SurfaceCanvas& canvas) {
      SIZE size{};
      GetTextExtentPoint32A(canvas.dc(), text.data(), static_cast<int>(text.size()), &size);
      TextOutA(canvas.dc(), 0, 0, text.data(), static_cast<int>(text.size()));
      RECT rect{0, 0, 80, 20};
      DrawTextA(canvas.dc(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
      return std::tuple(size.cx, canvas.surface().pixels, rect.right);
    };
    SurfaceCanvas bad(80, 20), good(80, 20);
    EXPECT_EQ(draw(row.bytes, bad), draw(row.drawnAs, good));
  }
}
