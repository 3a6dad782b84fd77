#include <gtest/gtest.h>

#include <algorithm>

#include "platform/kernel/LastError.h"
#include "platform/kernel/NamePattern.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/ShortName.h"

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
      {"C:\\Games\\Quellmoor", "C:\\Games\\Quellmoor"}, {"c:\\games", "C:\\games"}, {"C:/Games/bin", "C:\\Games\\bin"},
      {"C:\\Games\\\\bin\\", "C:\\Games\\bin (trailing)"}, {"C:\\", "C:\\ (trailing)"},
      {"C:", "C:\\"}, {"C:Games", "C:\\Games"},
      // Dots: "." and ".." as names, and at a name's end.
      {"C:\\a\\.\\b", "C:\\a\\b"}, {"C:\\a\\b\\..\\c", "C:\\a\\c"}, {"C:\\..", "C:\\"},
      {"C:\\..\\..\\..\\etc\\passwd", "C:\\etc\\passwd"}, {"C:\\a\\..\\..\\b", "C:\\b"},
      {"C:\\readme.", "C:\\readme"}, {"C:\\dir. \\x", "C:\\dir\\x"},
      {"C:\\\xC3\xA9t\xC3\xA9", "C:\\\xC3\xA9t\xC3\xA9"},
      // What a Windows name cannot hold: ERROR_INVALID_NAME.
      {"C:\\a:b", "error 123"}, {"C:\\a*", "error 123"}, {"C:\\what?", "error 123"}, {"C:\\a|b", "error 123"},
      {"C:\\tab\there", "error 123"}, {"C:\\...", "error 123"}, {"C:\\bad\xFF", "error 123"},
      {"C:\\overlong\xC0\xAF", "error 123"}, {"C:\\surrogate\xED\xA0\x80", "error 123"},
      // Not a path on a drive: ERROR_PATH_NOT_FOUND.
      {"Games\\bin", "error 3"}, {"\\\\server\\share", "error 3"}, {"", "error 3"}, {"1:\\x", "error 3"},
  };
  for (const auto& [text, folded] : rows) EXPECT_EQ(Folded(text), folded) << text;
}

// In the order a copy reads them: paths in the same few folders, each read
// as it would be alone, whatever was read before.
TEST(PathRules, PathsInFoldersReadBeforeFoldAsEachAlone) {
  std::pair<const char*, const char*> rows[] = {
      {"C:\\Games\\Quellmoor\\db\\a.txt", "C:\\Games\\Quellmoor\\db\\a.txt"},
      {"D:\\Copy\\db\\a.txt", "D:\\Copy\\db\\a.txt"},
      {"C:\\Games\\Quellmoor\\db\\b.txt", "C:\\Games\\Quellmoor\\db\\b.txt"},
      {"C:\\Games\\Quellmoor\\db\\..", "C:\\Games\\Quellmoor"},
      {"C:\\Games\\Quellmoor\\db\\.", "C:\\Games\\Quellmoor\\db"},
      {"C:\\Games\\Quellmoor\\db\\pi|pe", "error 123"},
      {"C:\\Games\\Quellmoor\\db\\. .", "error 123"},
      {"C:\\Games\\Quellmoor\\db\\end. ", "C:\\Games\\Quellmoor\\db\\end"},
      {"C:\\Games\\Quellmoor\\db\\", "C:\\Games\\Quellmoor\\db (trailing)"},
      // A folder of the same length, and the same one with the other separator.
      {"C:\\Games\\Quellmoor\\dc\\a.txt", "C:\\Games\\Quellmoor\\dc\\a.txt"},
      {"C:/Games/Quellmoor/db/c.txt", "C:\\Games\\Quellmoor\\db\\c.txt"},
      {"c:\\Games\\Quellmoor\\db\\d.txt", "C:\\Games\\Quellmoor\\db\\d.txt"},
      {"C:\\Games\\Bad|Folder\\a.txt", "error 123"},
      {"C:\\Games\\Bad|Folder\\b.txt", "error 123"},
      {"C:\\x\\..\\y\\a", "C:\\y\\a"},
      {"C:\\x\\..\\y\\b", "C:\\y\\b"},
      // More folders in turn than are kept.
      {"E:\\one\\a", "E:\\one\\a"}, {"E:\\two\\a", "E:\\two\\a"}, {"E:\\three\\a", "E:\\three\\a"},
      {"E:\\one\\b", "E:\\one\\b"}, {"E:\\three\\b", "E:\\three\\b"}, {"E:\\two\\b", "E:\\two\\b"},
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
  struct Row { const char* text; const char* directory; const char* pattern; DWORD error; } rows[] = {
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
      {"*.*", "readme", true}, {"*.*", "readme.txt", true}, {"*", ".profile", true}, {"*.*", ".", true},
      // Plain characters ignore case.
      {"README.TXT", "readme.txt", true}, {"readme.txt", "readme.txu", false},
      {"*.txt", "notes.TXT", true}, {"*.txt", "notes.txt.bak", false}, {"*.txt", "a.b.txt", true},
      {"a*z", "abcz", true}, {"a*z", "abcza", false},
      // "?" matches one character, but nothing at a dot or at the end.
      {"?", "a", true}, {"?", "ab", false}, {"a?", "a", true},
      {"a?.txt", "a.txt", true}, {"a?.txt", "ab.txt", true}, {"a?.txt", "abc.txt", false},
      {"???", "ab", true}, {"??.txt", "a.txt", true}, {"?.txt", ".txt", true},
      // A dot before "*" or "?" matches a dot or the end of the name.
      {"foo.*", "foo", true}, {"foo.*", "foo.c", true}, {"foo.*", "food", false},
      {"foo.?", "foo", true}, {"foo.??", "foo.c", true},
      // A trailing "*." matches names without an extension.
      {"*.", "readme", true}, {"*.", "readme.txt", false}, {"*.", "a.b.c", false},
      {"r*.", "readme", true}, {"r*.", "other", false},
      {"", "x", false},
  };
  for (const auto& [pattern, name, matches] : rows)
    EXPECT_EQ(NamePattern(pattern).Matches(name), matches) << pattern << " ~ " << name;
}

TEST(NamePattern, IgnoresCaseOutsideAscii) {
  EXPECT_TRUE(NamePattern("\xC3\x89*").Matches("\xC3\xA9t\xC3\xA9.txt"));
  EXPECT_FALSE(NamePattern("e*").Matches("\xC3\xA9t\xC3\xA9.txt"));
}

TEST(ShortName, DerivesShortNamesFromLongOnes) {
  std::pair<const char*, const char*> rows[] = {
      {"A long filename.txt", "ALONGF~1.TXT"}, {"x.html", "X~1.HTM"}, {"Program Files", "PROGRA~1"},
      {"name.123.456.789.", "NAME12~1.789"}, {"a+b;c=d,e[f].txt", "A_B_C_~1.TXT"}, {".htaccess", "HTACCE~1"},
      {"archive.tar.gz", "ARCHIV~1.GZ"}, {"ABCDEFGHI.TXT", "ABCDEF~1.TXT"}, {"a.b.c", "AB~1.C"},
      {"caf\xC3\xA9.doc", "CAF_~1.DOC"},
      // Names that are short names already take none.
      {"readme.txt", ""}, {"ABCDEFGH.IJK", ""},
  };
  for (const auto& [longName, shortName] : rows) EXPECT_EQ(AssignShortNames({longName}).front(), shortName) << longName;
}

TEST(ShortName, NumbersCollisionsInNameOrderThenHashes) {
  std::vector<std::string> names = {"Long Name 6.txt", "Long Name 2.txt", "Long Name 1.txt", "Long Name 5.txt",
                                    "Long Name 3.txt", "Long Name 4.txt"};
  std::vector<std::string> shortNames = AssignShortNames(names);
  auto shortOf = [&](const std::string& name) {
    return shortNames[std::find(names.begin(), names.end(), name) - names.begin()];
  };
  EXPECT_EQ(shortOf("Long Name 1.txt"), "LONGNA~1.TXT");
  EXPECT_EQ(shortOf("Long Name 2.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(shortOf("Long Name 3.txt"), "LONGNA~3.TXT");
  EXPECT_EQ(shortOf("Long Name 4.txt"), "LONGNA~4.TXT");
  // From the fifth on: two characters, four hex digits of a hash, ~1.
  for (const char* name : {"Long Name 5.txt", "Long Name 6.txt"}) {
    SCOPED_TRACE(name);
    std::string shortName = shortOf(name);
    ASSERT_EQ(shortName.size(), 12u);
    EXPECT_EQ(shortName.substr(0, 2), "LO");
    EXPECT_TRUE(std::all_of(shortName.begin() + 2, shortName.begin() + 6, ::isxdigit));
    EXPECT_EQ(shortName.substr(6), "~1.TXT");
  }
  EXPECT_NE(shortOf("Long Name 5.txt"), shortOf("Long Name 6.txt"));
}

TEST(ShortName, SkipsNamesTakenByLegalLongNames) {
  std::vector<std::string> shortNames = AssignShortNames({"x.html", "x~1.htm", "X~2.HTM"});
  EXPECT_EQ(shortNames[0], "X~3.HTM");
  EXPECT_EQ(shortNames[1], "");
  EXPECT_EQ(shortNames[2], "");
}

TEST(ShortName, DoesNotDependOnTheListingOrder) {
  std::vector<std::string> forward = {"Report 2024.doc", "Report 2023.doc", "notes.txt", "Report 2025.doc"};
  std::vector<std::string> backward(forward.rbegin(), forward.rend());
  std::vector<std::string> shortForward = AssignShortNames(forward);
  std::vector<std::string> shortBackward = AssignShortNames(backward);
  for (size_t i = 0; i < forward.size(); ++i)
    EXPECT_EQ(shortForward[i], shortBackward[forward.size() - 1 - i]) << forward[i];
  EXPECT_EQ(shortForward[1], "REPORT~1.DOC");
}
