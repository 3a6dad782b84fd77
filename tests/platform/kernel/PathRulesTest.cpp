#include <gtest/gtest.h>

#include "platform/kernel/LastError.h"
#include "platform/kernel/NamePattern.h"
#include "platform/kernel/PathRules.h"

using namespace qm::kernel;

namespace {

std::string Folded(std::string_view text) {
  ParsedPath parsed = ParseWindowsPath(text);
  if (parsed.error != ERROR_SUCCESS) return "error " + std::to_string(parsed.error);
  std::string out = FormatWindowsPath(parsed.path);
  if (parsed.path.trailingSeparator) out += " (trailing)";
  return out;
}

}  // namespace

TEST(PathRules, FoldsPathsTheWindowsWay) {
  std::pair<const char*, const char*> rows[] = {
      {"C:\\Games\\Quellmoor", "C:\\Games\\Quellmoor"},
      {"c:\\games", "C:\\games"},
      {"C:/Games/bin", "C:\\Games\\bin"},
      {"C:\\Games\\\\bin\\", "C:\\Games\\bin (trailing)"},
      {"C:\\", "C:\\ (trailing)"},
      {"C:", "C:\\"},
      {"C:Games", "C:\\Games"},
      {"C:\\a\\.\\b", "C:\\a\\b"},
      {"C:\\a\\b\\..\\c", "C:\\a\\c"},
      {"C:\\..", "C:\\"},
      {"C:\\..\\..\\..\\etc\\passwd", "C:\\etc\\passwd"},
      {"C:\\a\\..\\..\\b", "C:\\b"},
      {"C:\\readme.", "C:\\readme"},
      {"C:\\dir. \\x", "C:\\dir\\x"},
      {"C:\\\xC3\xA9t\xC3\xA9", "C:\\\xC3\xA9t\xC3\xA9"},
      {"C:\\a:b", "error 123"},
      {"C:\\a*", "error 123"},
      {"C:\\what?", "error 123"},
      {"C:\\a|b", "error 123"},
      {"C:\\tab\there", "error 123"},
      {"C:\\...", "error 123"},
      {"C:\\bad\xFF", "error 123"},
      {"C:\\overlong\xC0\xAF", "error 123"},
      {"C:\\surrogate\xED\xA0\x80", "error 123"},
      {"Games\\bin", "error 3"},
      {"\\\\server\\share", "error 3"},
      {"", "error 3"},
      {"1:\\x", "error 3"},
  };
  for (const auto& [text, folded] : rows) EXPECT_EQ(Folded(text), folded) << text;
}

TEST(PathRules, NamesAWindowsPathCannotHoldAreNotNames) {
  for (const char* name : {"readme.txt", "Program Files", ".hidden", "\xC3\xA9t\xC3\xA9"})
    EXPECT_TRUE(IsWindowsName(name)) << name;
  for (const char* name : {"back\\slash", "co:lon", "star*", "what?", "a<b", "a>b", "quo\"te", "pi|pe", "bell\x07",
                           "trailing.", "trailing ", ".", "..", "", "latin1\xE9"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(IsWindowsName(name));
  }
}

TEST(PathRules, SplitsSearchesIntoFolderAndPattern) {
  struct Row {
    const char* text;
    const char* directory;
    const char* pattern;
    DWORD error;
  } rows[] = {
      {"C:\\Games\\*.*", "C:\\Games\\", "*.*", ERROR_SUCCESS},
      {"C:\\*", "C:\\", "*", ERROR_SUCCESS},
      {"C:\\Games", "C:\\", "Games", ERROR_SUCCESS},
      {"C:*.txt", "C:", "*.txt", ERROR_SUCCESS},
      {"C:\\Games\\bin\\..", "C:\\", "Games", ERROR_SUCCESS},
      {"C:\\Games\\.", "C:\\", "Games", ERROR_SUCCESS},
      {"C:\\readme.", "C:\\", "readme", ERROR_SUCCESS},
      {"C:\\Games\\*.", "C:\\Games\\", "*.", ERROR_SUCCESS},
      {"C:\\Games\\", "", "", ERROR_FILE_NOT_FOUND},
      {"C:\\", "", "", ERROR_FILE_NOT_FOUND},
      {"C:\\..", "", "", ERROR_FILE_NOT_FOUND},
      {"C:\\Games\\a<b", "", "", ERROR_INVALID_NAME},
      {"readme.txt", "", "", ERROR_PATH_NOT_FOUND},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    SearchTarget target = SplitSearchPath(row.text);
    EXPECT_EQ(target.error, row.error);
    if (row.error == ERROR_SUCCESS) {
      EXPECT_EQ(target.directory, row.directory);
      EXPECT_EQ(target.pattern, row.pattern);
    }
  }
}

TEST(NamePattern, FollowsTheDosWildcardRules) {
  std::tuple<const char*, const char*, bool> rows[] = {
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
  for (const auto& [pattern, name, matches] : rows)
    EXPECT_EQ(NamePattern(pattern).Matches(name), matches) << pattern << " ~ " << name;
}

TEST(NamePattern, IgnoresCaseOutsideAscii) {
  EXPECT_TRUE(NamePattern("\xC3\x89*").Matches("\xC3\xA9t\xC3\xA9.txt"));
  EXPECT_FALSE(NamePattern("e*").Matches("\xC3\xA9t\xC3\xA9.txt"));
}
