#include <gtest/gtest.h>

#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
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
  struct Row {
    const char* text;
    const char* folded;
  } rows[] = {
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
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Folded(row.text), row.folded);
  }
}

TEST(PathRules, NamesAWindowsPathCannotHoldAreNotNames) {
  for (const char* name : {"readme.txt", "Program Files", ".hidden", "\xC3\xA9t\xC3\xA9"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(IsWindowsName(name));
  }
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

TEST(NameCase, ComparesNamesIgnoringCaseBeyondAscii) {
  struct Row {
    const char* a;
    const char* b;
    bool equal;
  } rows[] = {
      {"README.TXT", "readme.txt", true},
      {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},        // été / ÉTÉ
      {"\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\x94\xD0\x9E\xD0\x9C", true},  // дом / ДОМ
      {"\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9", true},  // łódź / ŁÓDŹ
      {"Readme\xC3\xA9", "README\xC3\x89", true},
      {"Readme\xC3\xA9", "README\xC3\xA8", false},
      {"ab", "aC", false},
      {"a", "b", false},
      {"abc", "abcd", false},
      {"\xC3\xA9", "e", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
    EXPECT_EQ(NamesEqualIgnoringCase(row.a, row.b), row.equal);
  }
}
