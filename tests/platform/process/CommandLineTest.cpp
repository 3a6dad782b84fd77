#include <gtest/gtest.h>

#include "platform/kernel/CommandLine.h"

using qm::kernel::SplitArguments;
using Arguments = std::vector<std::string>;

TEST(CommandLine, SplitsAsTheCRuntimeDoes) {
  struct Row {
    const char* line;
    Arguments arguments;
  } rows[] = {
      {"", {}},
      {" \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  leading   and trailing  ", {"leading", "and", "trailing"}},
      {"\"two words\" plain", {"two words", "plain"}},
      {"pre\"quoted part\"post", {"prequoted partpost"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"unclosed quote", {"unclosed quote"}},
      // Backslashes are plain unless a quote follows them.
      {"C:\\Games\\Quellmoor\\ D:\\", {"C:\\Games\\Quellmoor\\", "D:\\"}},
      {"a\\\\b", {"a\\\\b"}},
      {"\\\"", {"\""}},
      {"\\\\\"x y\"", {"\\x y"}},
      {"\\\\\\\"x y", {"\\\"x", "y"}},
      {"\"C:\\Program Files\\\\\" next", {"C:\\Program Files\\", "next"}},
      // A doubled quote inside a quoted part is one quote, and ends the part.
      {"\"a\"\"b c\"", {"a\"b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(SplitArguments(row.line), row.arguments);
  }
}
