#include <gtest/gtest.h>

#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/LastError.h"

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
    std::vector<Found> found = SearchEx(row.pattern, row.level, row.op);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].name, expected[i].name);
      EXPECT_EQ(found[i].shortName, expected[i].shortName);
      EXPECT_EQ(found[i].attributes, expected[i].attributes);
    }
  }
  // The rows above agree with these.
  std::vector<std::string> folders;
  for (const Found& entry : SearchEx("C:\\Web\\*.*", FindExInfoBasic, FindExSearchLimitToDirectories))
    folders.push_back(entry.name);
  EXPECT_EQ(folders, (std::vector<std::string>{".", "..", "Sub Folder", "to-folder"}));
  ASSERT_EQ(SearchEx("C:\\Web\\*.htm", FindExInfoBasic, FindExSearchNameMatch).size(), 1u);
}

TEST(FindFileEx, RefusesWhatItDoesNotKnow) {
  MakeWeb();
  WIN32_FIND_DATAA data;
  int filter = 0;
  EXPECT_EQ(FindFirstFileExA("C:\\Web\\*", FindExInfoBasic, &data, FindExSearchNameMatch, &filter, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(FindFirstFileExA("C:\\Web\\*", FindExInfoMaxInfoLevel, &data, FindExSearchNameMatch, nullptr, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(FindFirstFileExA("C:\\Web\\*", FindExInfoBasic, &data, FindExSearchLimitToDevices, nullptr, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(FindFirstFileExA("C:\\Web\\x.html", FindExInfoBasic, &data, FindExSearchLimitToDirectories, nullptr, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
