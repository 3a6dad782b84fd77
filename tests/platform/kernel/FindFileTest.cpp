#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"
#include "support/TempDir.h"

using namespace qm::test;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(FindFile, ListsDotAndDotDotFirstInsideAFolder) {
  WriteHostFile(HostOnC("Games/b.txt"), "b");
  WriteHostFile(HostOnC("Games/A.txt"), "a");
  std::filesystem::create_directories(HostOnC("Games/sub"));
  EXPECT_EQ(SearchNames("C:\\Games\\*.*"), (Names{".", "..", "A.txt", "b.txt", "sub"}));
  EXPECT_EQ(SearchNames("C:\\Games\\*"), (Names{".", "..", "A.txt", "b.txt", "sub"}));
  // The dot entries are matched against the pattern like any other.
  EXPECT_EQ(SearchNames("C:\\Games\\*.txt"), (Names{"A.txt", "b.txt"}));
  std::vector<Found> all = SearchAll("C:\\Games\\*.*");
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[0].attributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(all[1].attributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
}

// A listing comes in the order of the upper-case names, byte by byte, and
// names that differ only in case (the host can hold both) by their own
// bytes. The rows share long beginnings, as the files of a large folder do,
// and upper-casing puts "_" after the letters where lower-casing would not.
TEST(FindFile, ListsInTheOrderOfTheUpperCaseNames) {
  const Names order{"a.txt",     "abcdefghij1", "ABCDEFGHIJ10", "abcdefghij2",      "FILE1.dat",         "file1.DAT",
                    "file10.dat", "File2.dat",  "zurich",       "Z\xC3\xBCrich", "z\xC3\x9Crich2", "_b.txt"};
  // Written in another order than the listing's.
  for (auto name = order.rbegin(); name != order.rend(); ++name) WriteHostFile(HostOnC("Sorted/" + *name), "x");
  Names expected{".", ".."};
  expected.insert(expected.end(), order.begin(), order.end());
  EXPECT_EQ(SearchNames("C:\\Sorted\\*.*"), expected);
  // A pattern keeps the order of what it matches.
  EXPECT_EQ(SearchNames("C:\\Sorted\\file1*"), (Names{"FILE1.dat", "file1.DAT", "file10.dat"}));
}

TEST(FindFile, ADriveRootHasNoDotEntries) {
  Names names = SearchNames("C:\\*.*");
  ASSERT_FALSE(names.empty());
  EXPECT_NE(names[0], ".");
  EXPECT_EQ(std::count(names.begin(), names.end(), "Windows"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), ".."), 0);
}

TEST(FindFile, RefusesANameEndingInABackslash) {
  std::filesystem::create_directories(HostOnC("Games"));
  WIN32_FIND_DATAA data;
  for (const char* name : {"C:\\Games\\", "C:\\", "C:/Games/"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FailureOf(FindFirstFileA(name, &data)), ERROR_FILE_NOT_FOUND) << name;
  }
}

TEST(FindFile, FindsAPlainNameIgnoringCase) {
  WriteHostFile(HostOnC("Games/Quellmoor/ReadMe.TXT"), "hello");
  std::pair<const char*, const char*> rows[] = {
      {"C:\\Games\\Quellmoor\\ReadMe.TXT", "ReadMe.TXT"},
      {"C:\\GAMES\\quellmoor\\readme.txt", "ReadMe.TXT"},
      {"c:/games/QUELLMOOR/README.TXT", "ReadMe.TXT"},
      {"C:\\Games\\Quellmoor\\readme.txt.", "ReadMe.TXT"},
      {"C:\\Games\\Quellmoor", "Quellmoor"},
  };
  for (const auto& [query, found] : rows) EXPECT_EQ(SearchNames(query), Names{found}) << query;
}

TEST(FindFile, TellsAMissingFileFromAMissingFolder) {
  std::filesystem::create_directories(HostOnC("Games"));
  const std::pair<const char*, DWORD> rows[] = {
      {"C:\\Games\\missing.txt", ERROR_FILE_NOT_FOUND}, {"C:\\Games\\*.none", ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\file.txt", ERROR_PATH_NOT_FOUND}, {"C:\\Missing\\*.*", ERROR_PATH_NOT_FOUND},
      {"Q:\\file.txt", ERROR_PATH_NOT_FOUND},
      {"C:\\Games\\a|b", ERROR_INVALID_NAME}, {"C:\\G*\\file.txt", ERROR_INVALID_NAME},
  };
  WIN32_FIND_DATAA data;
  for (const auto& [query, error] : rows) EXPECT_EQ(FailureOf(FindFirstFileA(query, &data)), error) << query;
  // A folder whose index answered once, then removed or made a file behind
  // its back: the index no longer vouches for it.
  for (const char* folder : {"Removed", "Replaced"}) {
    std::filesystem::create_directories(HostOnC(folder));
    const std::string missing = std::string("C:\\") + folder + "\\missing.txt";
    ASSERT_EQ(FailureOf(FindFirstFileA(missing.c_str(), &data)), ERROR_FILE_NOT_FOUND) << folder;
    std::filesystem::remove(HostOnC(folder));
    if (folder == std::string("Replaced")) WriteHostFile(HostOnC(folder), "now a file");
    EXPECT_EQ(FailureOf(FindFirstFileA(missing.c_str(), &data)), ERROR_PATH_NOT_FOUND) << folder;
  }
}

TEST(FindFile, EndsWithNoMoreFiles) {
  WriteHostFile(HostOnC("One/only.txt"), "x");
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\One\\*.txt", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FailureOf(FindNextFileA(search, &data)), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(search));
  EXPECT_EQ(FailureOf(FindNextFileA(search, &data)), ERROR_INVALID_HANDLE);
}

// The names are fixed when the search starts; each entry's facts are
// taken when the search reaches it, so one deleted by then is passed over
// and one written meanwhile reports its new size.
TEST(FindFile, EntriesChangedDuringASearchAreReportedAsTheyAreWhenReached) {
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) WriteHostFile(HostOnC("Walk/") + name, "x");
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\Walk\\*.txt", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "a.txt");
  std::filesystem::remove(HostOnC("Walk/b.txt"));
  WriteHostFile(HostOnC("Walk/c.txt"), "longer");
  WriteHostFile(HostOnC("Walk/added.txt"), "x");
  ASSERT_TRUE(FindNextFileA(search, &data));
  EXPECT_STREQ(data.cFileName, "c.txt");
  EXPECT_EQ(data.nFileSizeLow, 6u);
  ASSERT_TRUE(FindNextFileA(search, &data));
  EXPECT_STREQ(data.cFileName, "d.txt");
  EXPECT_EQ(FailureOf(FindNextFileA(search, &data)), ERROR_NO_MORE_FILES);
  FindClose(search);
  // A search whose every entry went before it began finds nothing.
  std::filesystem::create_directories(HostOnC("Empty"));
  EXPECT_EQ(FailureOf(FindFirstFileA("C:\\Empty\\*.txt", &data)), ERROR_FILE_NOT_FOUND);
}

TEST(FindFile, NeverListsHostNamesAWindowsPathCannotHold) {
  for (const char* name : {"back\\slash.txt", "co:lon.txt", "star*.txt", "ends.", "bell\x07", "plain.txt"})
    WriteHostFile(HostOnC("Odd/") + name, "x");
  EXPECT_EQ(SearchNames("C:\\Odd\\*.*"), (Names{".", "..", "plain.txt"}));
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA("C:\\Odd\\co:lon.txt", &data), INVALID_HANDLE_VALUE);
}

TEST(FindFile, MatchesPatternsAgainstShortNamesToo) {
  WriteHostFile(HostOnC("Web/x.html"), "<html>");
  WriteHostFile(HostOnC("Web/y.htm"), "<html>");
  WriteHostFile(HostOnC("Web/Long Document Name.txt"), "text");
  EXPECT_EQ(SearchNames("C:\\Web\\*.htm"), (Names{"x.html", "y.htm"}));
  EXPECT_EQ(SearchNames("C:\\Web\\LONGDO~1.TXT"), Names{"Long Document Name.txt"});
  EXPECT_EQ(SearchNames("C:\\Web\\longdo~*"), Names{"Long Document Name.txt"});
  std::vector<Found> found = SearchAll("C:\\Web\\*.*");
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[2].name, "Long Document Name.txt");
  EXPECT_EQ(found[2].shortName, "LONGDO~1.TXT");
  EXPECT_EQ(found[3].shortName, "X~1.HTM");
  EXPECT_EQ(found[4].shortName, "");
  // A plain-name search reports the same short name as the listing.
  EXPECT_STREQ(FindOne("C:\\Web\\x.html").cAlternateFileName, "X~1.HTM");
}

TEST(FindFile, ResolvesShortNamesInsideAPath) {
  WriteHostFile(HostOnC("Program Files/Tool/a.txt"), "x");
  EXPECT_EQ(SearchNames("C:\\PROGRA~1\\Tool\\*.txt"), Names{"a.txt"});
  EXPECT_EQ(GetFileAttributesA("C:\\progra~1\\tool\\A.TXT"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST(FindFile, FillsSizesTimesAndAttributes) {
  std::string big = HostOnC("Data/big.bin");
  WriteHostFile(big, "");
  ASSERT_EQ(truncate(big.c_str(), (5LL << 32) + 7), 0);
  WriteHostFile(HostOnC("Data/.hidden"), "12345");
  WriteHostFile(HostOnC("Data/locked.txt"), "abc");
  MakeHostReadOnly(HostOnC("Data/locked.txt"));
  // 2001-09-09 01:46:40 UTC is 10^9 seconds after 1970.
  struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimes(HostOnC("Data/.hidden").c_str(), times), 0);

  WIN32_FIND_DATAA data = FindOne("C:\\Data\\big.bin");
  EXPECT_EQ((std::vector<DWORD>{data.nFileSizeHigh, data.nFileSizeLow, data.dwFileAttributes}),
            (std::vector<DWORD>{5, 7, FILE_ATTRIBUTE_ARCHIVE}));
  data = FindOne("C:\\Data\\.hidden");
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime * 0x100000000ULL + data.ftLastWriteTime.dwLowDateTime,
            (1000000000ULL + 11644473600ULL) * 10000000ULL);
  EXPECT_EQ(FindOne("C:\\Data\\locked.txt").dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
}

TEST(FindFile, SearchesAMappedDrive) {
  TempDir medium("medium");
  WriteHostFile(medium.Path() + "/setup", "x");
  std::filesystem::create_directories(medium.Path() + "/db");
  qm::kernel::MapDrive('d', medium.Path());
  EXPECT_EQ(SearchNames("D:\\*.*"), (Names{"db", "setup"}));
  EXPECT_EQ(SearchNames("d:\\DB\\*.*"), (Names{".", ".."}));
  EXPECT_EQ(qm::kernel::HostToWindowsPath(medium.Path() + "/setup"), "D:\\setup");
  std::string viaZ = "Z:" + medium.Path();
  std::replace(viaZ.begin(), viaZ.end(), '/', '\\');
  EXPECT_EQ(SearchNames(viaZ + "\\SETUP"), Names{"setup"});
}

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
  struct Row { const char* pattern; FINDEX_INFO_LEVELS level; FINDEX_SEARCH_OPS op; } rows[] = {
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

// A short name depends on every name in the folder: a search that returns
// only folders must give a folder the short name every other search and
// every path gives it, though a file took the first one.
TEST(FindFileEx, AFolderHasOneShortNameWhateverTheSearch) {
  WriteHostFile(HostOnC("Short/Program Data"), "a file, first by name");
  fs::create_directories(HostOnC("Short/Program Files"));
  const Found folder{"Program Files", "PROGRA~2", FILE_ATTRIBUTE_DIRECTORY};
  struct Row { const char* pattern; FINDEX_SEARCH_OPS op; } rows[] = {
      {"C:\\Short\\*", FindExSearchNameMatch},
      {"C:\\Short\\*", FindExSearchLimitToDirectories},
      {"C:\\Short\\PROGRA~2", FindExSearchLimitToDirectories},
      {"C:\\Short\\*Files", FindExSearchLimitToDirectories},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " op " + std::to_string(row.op));
    std::vector<Found> found = SearchEx(row.pattern, FindExInfoStandard, row.op);
    auto it = std::find_if(found.begin(), found.end(), [](const Found& f) { return f.name == "Program Files"; });
    ASSERT_NE(it, found.end());
    EXPECT_EQ(*it, folder);
  }
  EXPECT_EQ(NamesOf(SearchEx("C:\\Short\\PROGRA~1", FindExInfoStandard, FindExSearchLimitToDirectories)),
            std::vector<std::string>{});
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
