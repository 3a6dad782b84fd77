#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/kernel/Utf8.h"

using namespace qm::kernel;

namespace {

// The characters a row decodes to: code point and length in bytes, the
// length negative for an ill-formed subsequence.
struct Expected { char32_t codePoint; int length; };
constexpr char32_t R = kReplacementCharacter;

struct Row { const char* name; std::string bytes; std::vector<Expected> chars; };

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"empty", "", {}},
      {"ascii", "Ab", {{'A', 1}, {'b', 1}}},
      {"smallest two-byte", "\xC2\x80", {{0x80, 2}}},
      {"smallest three-byte", "\xE0\xA0\x80", {{0x800, 3}}},
      {"smallest four-byte", "\xF0\x90\x80\x80", {{0x10000, 4}}},
      {"last before the surrogates", "\xED\x9F\xBF", {{0xD7FF, 3}}},
      {"U+10FFFF", "\xF4\x8F\xBF\xBF", {{0x10FFFF, 4}}},
      {"a real U+FFFD is well formed", "\xEF\xBF\xBD", {{R, 3}}},
      {"lone continuation 80", "\x80", {{R, -1}}},
      {"lone continuation BF", "\xBF", {{R, -1}}},
      {"continuations after ascii", "a\x80\xBF" "b", {{'a', 1}, {R, -1}, {R, -1}, {'b', 1}}},
      {"continuation after a whole character", "\xC3\xA9\x80", {{0xE9, 2}, {R, -1}}},
      {"truncated two-byte at the end", "\xC3", {{R, -1}}},
      {"truncated three-byte", "\xE2\x82", {{R, -2}}},
      {"truncated three-byte then ascii", "\xE2\x82" "A", {{R, -2}, {'A', 1}}},
      {"truncated four-byte", "\xF0\x9F\x8E", {{R, -3}}},
      {"truncated lead then a lead", "\xC3\xC3\xA9", {{R, -1}, {0xE9, 2}}},
      {"overlong slash C0 AF", "\xC0\xAF", {{R, -1}, {R, -1}}},
      {"overlong C1 BF", "\xC1\xBF", {{R, -1}, {R, -1}}},
      {"overlong three-byte", "\xE0\x80\xAF", {{R, -1}, {R, -1}, {R, -1}}},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", {{R, -1}, {R, -1}, {R, -1}, {R, -1}}},
      {"high surrogate in UTF-8", "\xED\xA0\x80", {{R, -1}, {R, -1}, {R, -1}}},
      {"low surrogate in UTF-8", "\xED\xBF\xBF", {{R, -1}, {R, -1}, {R, -1}}},
      {"above U+10FFFF with F4", "\xF4\x90\x80\x80", {{R, -1}, {R, -1}, {R, -1}, {R, -1}}},
      {"above U+10FFFF with F5", "\xF5\x80\x80\x80", {{R, -1}, {R, -1}, {R, -1}, {R, -1}}},
      {"bytes that never occur", "\xC0\xC1\xF5\xF8\xFC\xFE\xFF",
       {{R, -1}, {R, -1}, {R, -1}, {R, -1}, {R, -1}, {R, -1}, {R, -1}}},
      {"valid character after an invalid byte", "\xFF\xE2\x82\xAC", {{R, -1}, {0x20AC, 3}}},
      {"valid character after a truncated one", "\xF0\x9F\xE2\x82\xAC", {{R, -2}, {0x20AC, 3}}},
      {"latin-1 name", "caf\xE9", {{'c', 1}, {'a', 1}, {'f', 1}, {R, -1}}},
  };
  return rows;
}

}  // namespace

TEST(Utf8, IllFormedSubsequencesDecodeToOneReplacementEach) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    std::u32string chars;
    bool wellFormed = true;
    std::size_t offset = 0;
    for (const Expected& e : row.chars) {
      ASSERT_LT(offset, row.bytes.size());
      Utf8Char c = DecodeUtf8Char(row.bytes, offset);
      EXPECT_EQ(c.codePoint, e.codePoint) << "at byte " << offset;
      EXPECT_EQ(c.length, static_cast<std::size_t>(std::abs(e.length))) << "at byte " << offset;
      EXPECT_EQ(c.wellFormed, e.length > 0) << "at byte " << offset;
      offset += c.length;
      chars.push_back(e.codePoint);
      wellFormed = wellFormed && e.length > 0;
    }
    EXPECT_EQ(offset, row.bytes.size());
    EXPECT_EQ(DecodeUtf8(row.bytes), chars);
    EXPECT_EQ(CountUtf8Chars(row.bytes), chars.size());
    EXPECT_EQ(DecodeUtf8Strict(row.bytes).has_value(), wellFormed);
  }
}

// Boundaries found backwards from any byte must be those a forward decode
// from the start finds; every string of four bytes from a set that takes in
// each lead range and each continuation range a lead byte accepts.
TEST(Utf8, BoundariesFromAnyOffsetMatchAForwardDecode) {
  const unsigned char interesting[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                       0xC2, 0xDF, 0xE0, 0xED, 0xF0, 0xF4, 0xFF};
  std::string text;
  for (unsigned char a : interesting)
    for (unsigned char b : interesting)
      for (unsigned char c : interesting)
        for (unsigned char d : interesting) {
          text = {char(a), char(b), char(c), char(d)};
          std::vector<std::size_t> starts;
          for (std::size_t i = 0; i < text.size(); i += DecodeUtf8Char(text, i).length) starts.push_back(i);
          starts.push_back(text.size());
          for (std::size_t offset = 0; offset <= text.size(); ++offset) {
            std::size_t at = text.size();
            if (offset < text.size())
              for (std::size_t start : starts)
                if (start <= offset) at = start;
            ASSERT_EQ(Utf8BoundaryAtOrBefore(text, offset), at)
                << std::hex << int(a) << ' ' << int(b) << ' ' << int(c) << ' ' << int(d) << " offset " << offset;
            std::size_t atIndex = std::find(starts.begin(), starts.end(), at) - starts.begin();
            ASSERT_EQ(PreviousUtf8Boundary(text, offset), atIndex == 0 ? 0 : starts[atIndex - 1]);
            ASSERT_EQ(NextUtf8Boundary(text, offset), at == text.size() ? at : starts[atIndex + 1]);
          }
        }
}

TEST(Utf8, EncodesScalarValuesAndNothingElse) {
  // Each code point with the bytes it takes; 0 where it has no encoding.
  const std::pair<char32_t, int> rows[] = {{0, 1},      {0x7F, 1},    {0x80, 2},     {0x7FF, 2},     {0x800, 3},
                                           {0xD7FF, 3}, {0xD800, 0},  {0xDBFF, 0},   {0xDC00, 0},    {0xDFFF, 0},
                                           {0xE000, 3}, {0xFFFD, 3},  {0xFFFF, 3},   {0x10000, 4},   {0x10FFFF, 4},
                                           {0x110000, 0}, {0xFFFFFFFF, 0}};
  for (const auto& [codePoint, length] : rows) {
    SCOPED_TRACE(static_cast<unsigned>(codePoint));
    std::string out = "x";
    EXPECT_EQ(AppendUtf8(out, codePoint), length > 0);
    ASSERT_EQ(out.size(), 1u + length);
    if (length == 0) continue;
    Utf8Char back = DecodeUtf8Char(out, 1);
    EXPECT_TRUE(back.wellFormed);
    EXPECT_EQ(back.codePoint, codePoint);
    EXPECT_EQ(back.length, static_cast<std::size_t>(length));
  }
}
