#include <gtest/gtest.h>

#include <vector>

#include "platform/kernel/NameCase.h"

using namespace qm::kernel;

namespace {

struct Pair { const char* a; const char* b; bool equal; };

// Lookups compare with one of these, listings sort by another, the index
// hashes with the third; on every pair they must agree, in either order.
void ExpectEveryComparisonAgrees(const std::vector<Pair>& rows) {
  for (const Pair& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.a)) + " vs " + testing::PrintToString(std::string(row.b)));
    EXPECT_EQ(NamesEqualIgnoringCase(row.a, row.b), row.equal);
    EXPECT_EQ(NamesEqualIgnoringCase(row.b, row.a), row.equal);
    EXPECT_EQ(UpcaseName(row.a) == UpcaseName(row.b), row.equal);
    if (row.equal) {
      EXPECT_EQ(HashNameIgnoringCase(row.a), HashNameIgnoringCase(row.b));
    }
  }
}

}  // namespace

TEST(NameCase, ComparesNamesIgnoringCaseBeyondAscii) {
  ExpectEveryComparisonAgrees({
      {"README.TXT", "readme.txt", true},
      {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},                          // été / ÉTÉ
      {"\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\x94\xD0\x9E\xD0\x9C", true},        // дом / ДОМ
      {"\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9", true},  // łódź / ŁÓDŹ
      {"Readme\xC3\xA9", "README\xC3\x89", true},
      {"Readme\xC3\xA9", "README\xC3\xA8", false},
      {"ab", "aC", false},
      {"a", "b", false},
      {"abc", "abcd", false},
      {"\xC3\xA9", "e", false},
  });
}

// Bytes that are not UTF-8 have no case and match only themselves, so a name
// holding them can never be taken for another name.
TEST(NameCase, IllFormedBytesMatchOnlyThemselves) {
  ExpectEveryComparisonAgrees({
      {"caf\xE9", "CAF\xE9", true},                    // a Latin-1 name: its letters still fold
      {"caf\xE9", "caf\xC9", false},                   // but its byte é is not É
      {"a\xFF", "a\xFE", false},                       // both would draw as U+FFFD
      {"\xFF\xFE\xFD", "\xEF\xBF\xBD", false},         // nor is it a real U+FFFD
      {"\xC3" "a", "\xC3" "A", true},                  // a truncated character, then a letter
      {"\xE2\x82x", "\xE2\x82X", true},
      {"\xC3\xA9", "\xC3\xC3", false},                 // é is not two stray lead bytes
      {"x\x80", "X\x80", true},
      {"\xED\xA0\x80" "b", "\xED\xA0\x80" "B", true},  // a surrogate in UTF-8 stays as it is
      {"\xC3\xA9\x80", "\xC3\x89\x80", true},
  });
}

// The folder index hashes without building upper-case copies, and listings
// sort by a prefix key first; both must follow UpcaseName byte for byte.
TEST(NameCase, ComparingAndHashingFollowTheUpperCaseForm) {
  const char* names[] = {"", "a", "A", "ab", "b", "B.txt", "a.TXT", "Z\xC3\xBCrich", "z\xC3\x9Crich", "zz",
                         "\xC3\xA9", "\xC3\x89", "\xC3", "\xC3" "a", "\xFF", "\xEF\xBF\xBD", "\xCE\xB1", "~1",
                         "\xD0\x9A\xD0\xB0", "\xD0\xBA\xD0\x90x", "\xED\xA0\x80", "longname1", "LONGNAME", "longnamf",
                         "abcdefgh\xC3\xA9", "ABCDEFGH"};
  for (const char* a : names)
    for (const char* b : names) {
      SCOPED_TRACE(testing::PrintToString(std::string(a)) + " vs " + testing::PrintToString(std::string(b)));
      int expected = UpcaseName(a).compare(UpcaseName(b));
      if (expected == 0) {
        EXPECT_EQ(HashNameIgnoringCase(a), HashNameIgnoringCase(b));
      }
      if (UpcasePrefixKey(a) != UpcasePrefixKey(b)) {
        EXPECT_EQ(UpcasePrefixKey(a) < UpcasePrefixKey(b), expected < 0);
      }
    }
}

TEST(NameCase, UpcaseNameFoldsLettersAndKeepsOtherBytes) {
  std::pair<const char*, const char*> rows[] = {
      {"Z\xC3\xBCrich", "Z\xC3\x9CRICH"},                            // Zürich
      {"\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9"},  // łódź
      {"\xCE\xB1\xCF\x89", "\xCE\x91\xCE\xA9"},                      // αω
      {"caf\xE9.txt", "CAF\xE9.TXT"},
      {"\xE2\x82" "a", "\xE2\x82" "A"},
      {"\xC0\xAF" "a", "\xC0\xAF" "A"},
      {"", ""},
  };
  for (const auto& [name, upper] : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(name)));
    EXPECT_EQ(UpcaseName(name), upper);
    EXPECT_EQ(UpcaseName(upper), upper);
  }
}
