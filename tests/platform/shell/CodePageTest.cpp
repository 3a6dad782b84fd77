#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "support/CallFailure.h"

using qm::test::FailureOf;

TEST(CodePage, NarrowToWideCountsAndConverts) {
  const std::pair<const char*, std::u16string> rows[] = {
      {"C:\\Games\\Quellmoor", u"C:\\Games\\Quellmoor"},
      {"", u""},
      {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xF0\x9F\x8E\xAE", u"\U0001F3AE"},
  };
  for (UINT codePage : {CP_ACP, CP_UTF8}) {
    for (const auto& [text, wide] : rows) {
      SCOPED_TRACE(text);
      int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
      ASSERT_EQ(needed, static_cast<int>(wide.size()) + 1);
      std::u16string out(needed, u'x');
      ASSERT_EQ(MultiByteToWideChar(codePage, 0, text, -1, out.data(), needed), needed);
      EXPECT_EQ(out, wide + u'\0');
    }
  }
}

TEST(CodePage, ExplicitLengthLeavesTheTerminatorOut) {
  WCHAR out[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdef", 3, out, 8), 3);
  EXPECT_EQ(out[2], u'c');
  EXPECT_EQ(out[3], u'x');
}

TEST(CodePage, TooSmallBufferFailsWithInsufficientBuffer) {
  WCHAR wide[4];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(FailureOf(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, wide, 4)), ERROR_INSUFFICIENT_BUFFER);
  // A pair of surrogates never gets split at the end of the buffer.
  EXPECT_EQ(FailureOf(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x8E\xAE", 5, wide, 2)), ERROR_INSUFFICIENT_BUFFER);

  char narrow[3];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(FailureOf(WideCharToMultiByte(CP_ACP, 0, u"\u20AC", -1, narrow, 3, nullptr, nullptr)),
            ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePage, IllFormedInputIsReplacedOrRefused) {
  const std::tuple<const char*, int, int> rows[] = {
      {"\xC3", 1, 1},              // truncated
      {"\xC0\xAF", 2, 2},          // overlong
      {"\xED\xA0\x80", 3, 3},      // a surrogate encoded as UTF-8
      {"\xF4\x90\x80\x80", 4, 4},  // beyond U+10FFFF
      {"a\xFF" "b", 3, 3},
  };
  for (const auto& [text, length, units] : rows) {
    SCOPED_TRACE(length);
    WCHAR out[8];
    int n = MultiByteToWideChar(CP_UTF8, 0, text, length, out, 8);
    ASSERT_GT(n, 0);
    EXPECT_NE(std::u16string(out, n).find(u'\uFFFD'), std::u16string::npos);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FailureOf(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, out, 8)),
              ERROR_NO_UNICODE_TRANSLATION);
  }
}

TEST(CodePage, WideToNarrowRoundTripsAndReplacesLoneSurrogates) {
  const char16_t* wide = u"R\u00E9sum\u00E9 \U0001F3AE";
  int needed = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(needed, 'x');
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow.data(), needed, nullptr, nullptr), needed);
  EXPECT_EQ(narrow, std::string("R\xC3\xA9sum\xC3\xA9 \xF0\x9F\x8E\xAE") + '\0');

  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  char out[16];
  int n = WideCharToMultiByte(CP_UTF8, 0, lone, -1, out, 16, nullptr, nullptr);
  EXPECT_EQ(std::string(out, n), std::string("a\xEF\xBF\xBD" "b") + '\0');
}

TEST(CodePage, BadArgumentsAreRefused) {
  WCHAR wide[4];
  char narrow[4];
  BOOL usedDefault = FALSE;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(FailureOf(MultiByteToWideChar(1252, 0, "a", -1, wide, 4)), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, 4, "?", nullptr), 0);
  EXPECT_EQ(FailureOf(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, 4, nullptr, &usedDefault)),
            ERROR_INVALID_PARAMETER);
}

// UTF-16 as files store it, low byte first: a pair of surrogates is one
// character, a lone one U+FFFD; the zero unit is found by units, so a zero
// low byte of another character ends nothing.
TEST(CodePage, LittleEndianUnitsFromFilesReadAsTheWideCallsReadThem) {
  struct Row {
    const char* why;
    std::vector<unsigned char> bytes;
    std::size_t zero;
    std::string narrow;  // of the units before the zero
  };
  const std::vector<Row> rows{
      {"ASCII and a terminator", {'A', 0, 'b', 0, 0, 0}, 2, "Ab"},
      {"no terminator", {0xE9, 0x00, 0x00, 0x01}, 2, "\xC3\xA9\xC4\x80"},
      {"surrogate pair", {0x3C, 0xD8, 0xAE, 0xDF, 0, 0}, 2, "\xF0\x9F\x8E\xAE"},
      {"lone surrogate", {0x00, 0xD8, 'x', 0}, 2, "\xEF\xBF\xBDx"},
      {"empty", {}, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::size_t units = row.bytes.size() / 2;
    const std::size_t zero = qm::kernel::FindUtf16LeZero(row.bytes.data(), units);
    EXPECT_EQ(zero, row.zero);
    EXPECT_EQ(qm::kernel::Utf16LeToUtf8(row.bytes.data(), zero), row.narrow);
  }
}
