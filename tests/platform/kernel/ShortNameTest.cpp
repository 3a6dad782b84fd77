#include <gtest/gtest.h>

#include <algorithm>

#include "platform/kernel/ShortName.h"

using namespace qm::kernel;

TEST(ShortName, DerivesShortNamesFromLongOnes) {
  std::pair<const char*, const char*> rows[] = {
      {"A long filename.txt", "ALONGF~1.TXT"},
      {"x.html", "X~1.HTM"},
      {"Program Files", "PROGRA~1"},
      {"name.123.456.789.", "NAME12~1.789"},
      {"a+b;c=d,e[f].txt", "A_B_C_~1.TXT"},
      {".htaccess", "HTACCE~1"},
      {"archive.tar.gz", "ARCHIV~1.GZ"},
      {"readme.txt", ""},
      {"ABCDEFGH.IJK", ""},
      {"ABCDEFGHI.TXT", "ABCDEF~1.TXT"},
      {"a.b.c", "AB~1.C"},
      {"caf\xC3\xA9.doc", "CAF_~1.DOC"},
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
