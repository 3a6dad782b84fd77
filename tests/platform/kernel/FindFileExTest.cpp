#include <gtest/gtest.h>

#include <filesystem>

#include "KernelFiles.h"

using namespace qm::test;
namespace fs = std::filesystem;

namespace {

std::vector<Found> SearchEx(const char* pattern, FINDEX_INFO_LEVELS level, FINDEX_SEARCH_OPS op) {
  WIN32_FIND_DATAA data;
  return EntriesOf(FindFirstFileExA(pattern, level, &data, op, nullptr, 0), data);
}

void MakeWeb() {
  WriteHostFile(HostOnC("Web/x.html"), "<html>");
  WriteHostFile(HostOnC("Web/Long Document Name.txt"), "text");
  fs::create_directories(HostOnC("Web/Sub Folder"));
  fs::create_symlink("Sub Folder", HostOnC("Web/to-folder"));
  fs::create_symlink("x.html", HostOnC("Web/to-file"));
  fs::create_symlink("gone", HostOnC("Web/dangling"));
}

}  // namespace

// The copy lists subdirectories and files through these; what it keeps of
// them must be what FindFirstFileA finds.
TEST(FindFileEx, FindsWhatFindFirstFileFindsLessWhatWasLeftOut) {
  MakeWeb();
  struct Row {
    const char* pattern;
    FINDEX_INFO_LEVELS level;
    FINDEX_SEARCH_OPS op;
  } rows[] = {
      {"C:\\Web\\*.*", FindExInfoBasic, FindExSearchNameMatch},
      {"C:\\Web\\*.htm", FindExInfoBasic, FindExSearchNameMatch},
      {"C:\\Web\\*", FindExInfoStandard, FindExSearchLimitToDirectories},
      {"C:\\Web\\*.*", FindExInfoBasic, FindExSearchLimitToDirectories},
      {"C:\\Web\\SUBFOL~1", FindExInfoBasic, FindExSearchLimitToDirectories},
      {"C:\\Web\\x.html", FindExInfoBasic, FindExSearchLimitToDirectories},
      {"C:\\Web\\LONGDO~1.TXT", FindExInfoBasic, FindExSearchNameMatch},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " level " + std::to_string(row.level) + " op " + std::to_string(row.op));
    std::vector<Found> expected;
    for (Found entry : SearchAll(row.pattern)) {
      if (row.op == FindExSearchLimitToDirectories && !(entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      if (row.level == FindExInfoBasic) entry.shortName.clear();
      expected.push_back(entry);
    }
    EXPECT_EQ(SearchEx(row.pattern, row.level, row.op), expected);
  }
  // The rows above agree with these.
  EXPECT_EQ(NamesOf(SearchEx("C:\\Web\\*.*", FindExInfoBasic, FindExSearchLimitToDirectories)),
            (std::vector<std::string>{".", "..", "Sub Folder", "to-folder"}));
  ASSERT_EQ(SearchEx("C:\\Web\\*.htm", FindExInfoBasic, FindExSearchNameMatch).size(), 1u);
}

TEST(FindFileEx, RefusesWhatItDoesNotKnow) {
  MakeWeb();
  WIN32_FIND_DATAA data;
  auto failure = [&](const char* pattern, FINDEX_INFO_LEVELS level, FINDEX_SEARCH_OPS op, void* filter = nullptr) {
    return FailureOf(FindFirstFileExA(pattern, level, &data, op, filter, 0));
  };
  int filter = 0;
  EXPECT_EQ(failure("C:\\Web\\*", FindExInfoBasic, FindExSearchNameMatch, &filter), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(failure("C:\\Web\\*", FindExInfoMaxInfoLevel, FindExSearchNameMatch), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(failure("C:\\Web\\*", FindExInfoBasic, FindExSearchLimitToDevices), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(failure("C:\\Web\\x.html", FindExInfoBasic, FindExSearchLimitToDirectories), ERROR_FILE_NOT_FOUND);
}
