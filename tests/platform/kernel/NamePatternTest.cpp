#include <gtest/gtest.h>

#include "platform/kernel/NamePattern.h"

using qm::kernel::NamePattern;

TEST(NamePattern, FollowsTheDosWildcardRules) {
  struct Row {
    const char* pattern;
    const char* name;
    bool matches;
  } rows[] = {
      // "*" and "*.*" match everything, names without a dot included.
      {"*.*", "readme", true},
      {"*.*", "readme.txt", true},
      {"*", ".profile", true},
      {"*.*", ".", true},
      // Plain characters ignore case.
      {"README.TXT", "readme.txt", true},
      {"readme.txt", "readme.txu", false},
      {"*.txt", "notes.TXT", true},
      {"*.txt", "notes.txt.bak", false},
      {"*.txt", "a.b.txt", true},
      {"a*z", "abcz", true},
      {"a*z", "abcza", false},
      // "?" matches one character, but nothing at a dot or at the end.
      {"?", "a", true},
      {"?", "ab", false},
      {"a?", "a", true},
      {"a?.txt", "a.txt", true},
      {"a?.txt", "ab.txt", true},
      {"a?.txt", "abc.txt", false},
      {"???", "ab", true},
      {"??.txt", "a.txt", true},
      {"?.txt", ".txt", true},
      // A dot before "*" or "?" matches a dot or the end of the name.
      {"foo.*", "foo", true},
      {"foo.*", "foo.c", true},
      {"foo.*", "food", false},
      {"foo.?", "foo", true},
      {"foo.??", "foo.c", true},
      // A trailing "*." matches names without an extension.
      {"*.", "readme", true},
      {"*.", "readme.txt", false},
      {"*.", "a.b.c", false},
      {"r*.", "readme", true},
      {"r*.", "other", false},
      {"", "x", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " ~ " + row.name);
    EXPECT_EQ(NamePattern(row.pattern).Matches(row.name), row.matches);
  }
}

TEST(NamePattern, IgnoresCaseOutsideAscii) {
  EXPECT_TRUE(NamePattern("\xC3\x89*").Matches("\xC3\xA9t\xC3\xA9.txt"));
  EXPECT_FALSE(NamePattern("e*").Matches("\xC3\xA9t\xC3\xA9.txt"));
}
