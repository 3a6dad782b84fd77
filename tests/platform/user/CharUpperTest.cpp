// CharUpperBuffA on the platform's UTF-8 text: letters beyond ASCII are
// upper-cased as the volume compares names, and no byte is read or written
// beyond the length given.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/WinUser.h"

namespace {

TEST(CharUpperBuffA, UpcasesUtf8LettersInPlaceAndKeepsOtherBytes) {
  struct Row {
    std::string text;
    std::string upper;
  };
  const Row rows[] = {
      {"c:\\games", "C:\\GAMES"},
      {"zürich", "ZÜRICH"},
      {"путь", "ПУТЬ"},
      {"ß and 1-2", "ß AND 1-2"},
      // Bytes that are not UTF-8 have no case and stay.
      {std::string("a\xFF\xC3z"), std::string("A\xFF\xC3Z")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    std::string text = row.text;
    EXPECT_EQ(CharUpperBuffA(text.data(), static_cast<DWORD>(text.size())), row.upper.size());
    EXPECT_EQ(text, row.upper);
  }
}

TEST(CharUpperBuffA, StopsAtTheLengthGiven) {
  std::string text = "abcdef";
  EXPECT_EQ(CharUpperBuffA(text.data(), 3), 3u);
  EXPECT_EQ(text, "ABCdef");
  EXPECT_EQ(CharUpperBuffA(nullptr, 4), 0u);
}

}  // namespace
