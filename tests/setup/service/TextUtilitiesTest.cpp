#include <gtest/gtest.h>

#include "install/service/Service.h"
#include "support/WindowsFiles.h"

namespace {

using Lines = std::vector<std::string>;

TEST(LineList, ReadSplitsAtCarriageReturns) {
  struct Case {
    std::string content;
    Lines lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b", ""}},
      {"whole text", {"whole text"}},
      {"", {""}},
      {"a\nb", {"a\nb"}},  // a lone LF stays in the line
      {"a\rb", {"a", ""}},  // the character after a CR is skipped
      {"a\r", {"a", ""}},   // a CR as the last byte ends the list
  };
  CreateDirectoryA("C:\\lines", nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.content));
    ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\lines\\list.txt", c.content));
    Lines lines{"left over"};
    ReadLineList("C:\\lines\\list.txt", lines);
    EXPECT_EQ(lines, c.lines);
  }
  Lines lines{"left over"};
  ReadLineList("C:\\lines\\missing.txt", lines);
  EXPECT_TRUE(lines.empty());
}

TEST(LineList, WrittenLinesReadBackWithAnEmptyLastLine) {
  CreateDirectoryA("C:\\lines", nullptr);
  ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\lines\\out.txt", "longer old content that must go"));
  ASSERT_TRUE(WriteLineList({"a", "b"}, "C:\\lines\\out.txt"));
  Lines lines;
  ReadLineList("C:\\lines\\out.txt", lines);
  EXPECT_EQ(lines, (Lines{"a", "b", ""}));
  EXPECT_FALSE(WriteLineList({"a"}, "C:\\no such folder\\out.txt"));
}

TEST(FormatKbText, GroupsMillionsAndThousands) {
  const std::pair<std::int32_t, std::string> cases[] = {
      {999, "999"}, {1234, "1 234"}, {1234567, "1 234 567"}, {2147483647, "2147 483 647"}};
  for (const auto& [kb, digits] : cases) EXPECT_EQ(FormatKbText(kb), digits + " \xCA\xC1\xE0\xE9\xF2") << kb;
}

TEST(PointerText, RoundTripsAndReadsNothingAsNull) {
  EXPECT_EQ(PointerToText(reinterpret_cast<void*>(0xBEEF)), "0000BEEF");
  int object = 0;
  EXPECT_EQ(TextToPointer(PointerToText(&object)), &object);
  EXPECT_EQ(TextToPointer("not a pointer"), nullptr);
}

}  // namespace
