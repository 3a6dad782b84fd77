// Lookups ignoring case go through a kept index of each folder's names.
// Each case below first looks a name up ignoring case, so the folder is
// indexed, then changes the folder, through the kernel or behind its back
// on the host, and looks names up again: the answers must be those of a
// fresh look at the folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"
#include "support/TempDir.h"

using namespace qm::test;
namespace fs = std::filesystem;

namespace {

// The host name a Windows path resolves to under drive C:, relative to its
// folder; "" when the path does not exist.
std::string ResolvedOnC(const std::string& windowsPath) {
  std::optional<std::string> host = qm::kernel::ResolveWindowsPath(windowsPath);
  if (!host || !HostExists(*host)) return "";
  return host->substr(HostOnC("").size());
}

// `expected` is relative to drive C:'s folder; "" for nothing.
struct Lookup { const char* windowsPath; const char* expected; };

struct Row {
  const char* what;
  std::vector<const char*> hostFiles;  // made before the index exists
  std::function<void()> change;
  std::vector<Lookup> lookups;
};

void RunRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    for (const char* file : row.hostFiles) WriteHostFile(HostOnC(file), file);
    // Looking each name up ignoring case indexes its folder.
    for (const Lookup& lookup : row.lookups) ResolvedOnC(lookup.windowsPath);
    row.change();
    for (const Lookup& lookup : row.lookups)
      EXPECT_EQ(ResolvedOnC(lookup.windowsPath), lookup.expected) << lookup.windowsPath;
  }
}

void HostRename(const std::string& from, const std::string& to) { fs::rename(HostOnC(from), HostOnC(to)); }

// The changes the rows make on the host, behind the kernel's back.
std::function<void()> HostWrites(std::string file) { return [file] { WriteHostFile(HostOnC(file), "x"); }; }
std::function<void()> HostRemoves(std::string file) { return [file] { fs::remove(HostOnC(file)); }; }
std::function<void()> HostRenames(std::string from, std::string to) { return [=] { HostRename(from, to); }; }
// The folder moved aside to `aside` and made again, holding `file`.
std::function<void()> HostReplaces(std::string folder, std::string aside, std::string file) {
  return [=] {
    HostRename(folder, aside);
    WriteHostFile(HostOnC(file), "x");
  };
}

}  // namespace

TEST(NameIndex, SeesChangesMadeBehindItsBack) {
  RunRows({
      {"a file created by the host", {"Made/first.txt"}, HostWrites("Made/Second.TXT"),
       {{"C:\\made\\FIRST.TXT", "Made/first.txt"}, {"C:\\MADE\\second.txt", "Made/Second.TXT"}}},
      {"a file deleted by the host", {"Gone/Old.txt", "Gone/kept.txt"}, HostRemoves("Gone/Old.txt"),
       {{"C:\\gone\\old.TXT", ""}, {"C:\\gone\\KEPT.txt", "Gone/kept.txt"}}},
      {"a file renamed by the host", {"Moved/Before.dat"}, HostRenames("Moved/Before.dat", "Moved/After.DAT"),
       {{"C:\\moved\\before.dat", ""}, {"C:\\moved\\after.dat", "Moved/After.DAT"}}},
      {"a folder renamed by the host, and its names with it", {"Tree/Branch/leaf.txt"},
       HostRenames("Tree/Branch", "Tree/Bough"),
       {{"C:\\tree\\branch\\LEAF.TXT", ""}, {"C:\\TREE\\BOUGH\\Leaf.txt", "Tree/Bough/leaf.txt"}}},
      {"a folder replaced by another of the same name", {"Swap/Set/Alpha.txt"},
       HostReplaces("Swap/Set", "Swap/Old", "Swap/Set/Beta.txt"),
       {{"C:\\swap\\set\\alpha.txt", ""}, {"C:\\swap\\set\\BETA.TXT", "Swap/Set/Beta.txt"}}},
      {"a folder replaced above the indexed one", {"Outer/Inner/one.txt"},
       HostReplaces("Outer", "Outer.old", "Outer/Inner/Two.txt"),
       {{"C:\\outer\\inner\\ONE.TXT", ""}, {"C:\\outer\\inner\\two.TXT", "Outer/Inner/Two.txt"}}},
  });
}

// A new name in a folder written as the host spells it is answered by the
// folder's index without asking for the name itself: the index must be as
// current as the host.
TEST(NameIndex, NewNamesInFoldersWrittenAsTheyAreAreTheHostsAnswers) {
  RunRows({
      {"a file created by the host in another case", {"Written/one.txt"}, HostWrites("Written/Two.TXT"),
       {{"C:\\Written\\ONE.TXT", "Written/one.txt"}, {"C:\\Written\\two.txt", "Written/Two.TXT"}}},
      {"a file deleted by the host", {"Removed/Old.txt"}, HostRemoves("Removed/Old.txt"),
       {{"C:\\Removed\\old.txt", ""}}},
      {"the exact name before the smallest of its case variants", {"Both/A.TXT"}, HostWrites("Both/a.txt"),
       {{"C:\\Both\\a.txt", "Both/a.txt"}, {"C:\\Both\\A.txt", "Both/A.TXT"}}},
      {"a folder replaced by another of the same name", {"Replaced/Alpha.txt"},
       HostReplaces("Replaced", "Replaced.old", "Replaced/Beta.txt"),
       {{"C:\\Replaced\\alpha.TXT", ""}, {"C:\\Replaced\\beta.txt", "Replaced/Beta.txt"}}},
      {"a folder replaced above the indexed one", {"Above/Below/One.txt"},
       HostReplaces("Above", "Above.old", "Above/Below/Two.txt"),
       {{"C:\\Above\\Below\\one.txt", ""}, {"C:\\Above\\Below\\TWO.txt", "Above/Below/Two.txt"}}},
  });
}

TEST(NameIndex, FollowsTheKernelsOwnChanges) {
  WriteHostFile(HostOnC("source.txt"), "content");
  RunRows({
      {"a copy to a new name", {"Copies/present.txt"},
       [] { ASSERT_TRUE(CopyFileA("C:\\source.txt", "C:\\Copies\\New.TXT", FALSE)); },
       {{"C:\\copies\\new.txt", "Copies/New.TXT"}, {"C:\\COPIES\\PRESENT.TXT", "Copies/present.txt"}}},
      {"a copy over a name in another case keeps the host name", {"Over/README.TXT"},
       [] { ASSERT_TRUE(CopyFileA("C:\\source.txt", "C:\\over\\readme.txt", FALSE)); },
       {{"C:\\Over\\ReadMe.txt", "Over/README.TXT"}}},
      {"a delete", {"Deleted/victim.txt", "Deleted/other.txt"},
       [] { ASSERT_TRUE(DeleteFileA("C:\\DELETED\\VICTIM.TXT")); },
       {{"C:\\deleted\\Victim.txt", ""}, {"C:\\deleted\\Other.txt", "Deleted/other.txt"}}},
      {"a folder made and another removed", {"Folders/Empty/.keep"},
       [] {
         ASSERT_TRUE(CreateDirectoryA("C:\\Folders\\Made", nullptr));
         fs::remove(HostOnC("Folders/Empty/.keep"));
         ASSERT_TRUE(RemoveDirectoryA("C:\\folders\\EMPTY"));
       },
       {{"C:\\FOLDERS\\MADE", "Folders/Made"}, {"C:\\folders\\empty", ""}}},
  });
}

TEST(NameIndex, TheSmallestOfNamesDifferingOnlyInCaseWinsAsTheyComeAndGo) {
  RunRows({
      {"a smaller name added", {"Case/readme.txt"}, HostWrites("Case/README.TXT"),
       {{"C:\\Case\\ReadMe.txt", "Case/README.TXT"},
        {"C:\\Case\\readme.txt", "Case/readme.txt"},
        {"C:\\Case\\README.TXT", "Case/README.TXT"}}},
      {"the smallest removed", {"Both/README.TXT", "Both/ReadMe.Txt", "Both/readme.txt"},
       HostRemoves("Both/README.TXT"),
       {{"C:\\Both\\rEADME.TXT", "Both/ReadMe.Txt"}, {"C:\\Both\\readme.txt", "Both/readme.txt"}}},
      {"the smallest renamed to a larger one", {"Renamed/ABC.txt", "Renamed/abc.txt"},
       HostRenames("Renamed/ABC.txt", "Renamed/abC.txt"), {{"C:\\Renamed\\Abc.TXT", "Renamed/abC.txt"}}},
  });
}

// A short name depends on the folder's other names; a single-name search
// must report what a listing reports after the folder changed.
TEST(NameIndex, ShortNamesFollowNamesAddedBehindItsBack) {
  WriteHostFile(HostOnC("Short/Long Name 2.txt"), "x");
  auto shortOf = [](const char* windowsPath) { return std::string(FindOne(windowsPath).cAlternateFileName); };
  EXPECT_EQ(shortOf("C:\\Short\\long name 2.txt"), "LONGNA~1.TXT");
  WriteHostFile(HostOnC("Short/Long Name 1.txt"), "x");
  EXPECT_EQ(shortOf("C:\\Short\\long name 2.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(ResolvedOnC("C:\\Short\\LONGNA~1.TXT"), "Short/Long Name 1.txt");
  std::vector<Found> listing = SearchAll("C:\\Short\\*.txt");
  ASSERT_EQ(listing.size(), 2u);
  EXPECT_EQ(listing[1].name, "Long Name 2.txt");
  EXPECT_EQ(listing[1].shortName, "LONGNA~2.TXT");
  // A temporary name that comes and goes changes nothing.
  WriteHostFile(HostOnC("Short/Long Name 0.txt"), "x");
  fs::remove(HostOnC("Short/Long Name 0.txt"));
  EXPECT_EQ(shortOf("C:\\Short\\Long Name 2.txt"), "LONGNA~2.TXT");
  ASSERT_TRUE(DeleteFileA("C:\\Short\\Long Name 1.txt"));
  EXPECT_EQ(shortOf("C:\\Short\\Long Name 2.txt"), "LONGNA~1.TXT");
}

// Names a Windows path cannot hold stay out of the index as they stay out
// of a listing, whenever they appear: they take no short name from a name
// that can be named.
TEST(NameIndex, NeverIndexesHostNamesAWindowsPathCannotHold) {
  WriteHostFile(HostOnC("Odd/Long Name 2.txt"), "x");
  EXPECT_STREQ(FindOne("C:\\odd\\long name 2.TXT").cAlternateFileName, "LONGNA~1.TXT");
  for (const char* name : {"Long Name 1.txt.", "Long:Name 1.txt", "Long Name\\1.txt"})
    WriteHostFile(HostOnC("Odd/") + name, "x");
  EXPECT_STREQ(FindOne("C:\\odd\\long name 2.TXT").cAlternateFileName, "LONGNA~1.TXT");
  EXPECT_EQ(ResolvedOnC("C:\\odd\\long name 1.txt"), "");
  EXPECT_EQ(SearchNames("C:\\Odd\\*.*"), (std::vector<std::string>{".", "..", "Long Name 2.txt"}));
}

// Enough names to grow the index's table several times, then most of them
// deleted so that it is laid out again: every name is found by any
// spelling, or is gone, all the way.
TEST(NameIndex, AFolderGrowingAndShrinkingBehindItsBackKeepsEveryAnswer) {
  WriteHostFile(HostOnC("Many/Seed.txt"), "x");
  ASSERT_EQ(ResolvedOnC("C:\\many\\SEED.TXT"), "Many/Seed.txt");
  auto name = [](int i) { return "Entry" + std::to_string(i) + ".Dat"; };
  for (int i = 0; i < 3000; ++i) WriteHostFile(HostOnC("Many/" + name(i)), "x");
  EXPECT_EQ(ResolvedOnC("C:\\MANY\\ENTRY2999.DAT"), "Many/" + name(2999));
  for (int i = 0; i < 3000; ++i)
    if (i % 3 != 0) fs::remove(HostOnC("Many/" + name(i)));
  for (int i = 0; i < 3000; i += 7)
    EXPECT_EQ(ResolvedOnC("C:\\many\\entry" + std::to_string(i) + ".DAT"), i % 3 == 0 ? "Many/" + name(i) : "") << i;
  EXPECT_EQ(ResolvedOnC("C:\\Many\\seed.txt"), "Many/Seed.txt");
}

// With every folder of a path indexed, a new name in it is answered from
// the notes alone, without asking the host for the folders: whatever
// renames or replaces a folder on the way must still be seen.
TEST(NameIndex, AFolderAnsweredFromItsNotesIsStillTheOneThePathNames) {
  qm::test::TempDir outside("qm-outside");
  // Indexes every folder of the path, then asks as written.
  auto vouch = [] {
    ResolvedOnC("C:\\chain\\mid\\leaf\\none.txt");
    ResolvedOnC("C:\\Chain\\Mid\\Leaf\\none.txt");
  };
  struct Row { const char* what; std::function<void()> change; const char* windowsPath; const char* expected; };
  const std::vector<Row> rows{
      {"a file created in the folder", HostWrites("Chain/Mid/Leaf/Two.txt"), "C:\\Chain\\Mid\\Leaf\\two.TXT",
       "Chain/Mid/Leaf/Two.txt"},
      {"the folder above renamed and made again",
       HostReplaces("Chain/Mid", "Chain/Mid.old", "Chain/Mid/Leaf/three.txt"), "C:\\Chain\\Mid\\Leaf\\THREE.txt",
       "Chain/Mid/Leaf/three.txt"},
      {"the top folder renamed and made again", HostReplaces("Chain", "Chain.old", "Chain/Mid/Leaf/four.txt"),
       "C:\\Chain\\Mid\\Leaf\\Four.txt", "Chain/Mid/Leaf/four.txt"},
      {"an empty folder replaced by one moved in from outside the drive",
       [&] {
         for (const auto& entry : fs::directory_iterator(HostOnC("Chain/Mid/Leaf"))) fs::remove(entry.path());
         WriteHostFile(outside.Path() + "/Leaf/five.txt", "x");
         fs::rename(outside.Path() + "/Leaf", HostOnC("Chain/Mid/Leaf"));
       },
       "C:\\Chain\\Mid\\Leaf\\FIVE.txt", "Chain/Mid/Leaf/five.txt"},
  };
  WriteHostFile(HostOnC("Chain/Mid/Leaf/one.txt"), "x");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    vouch();
    vouch();
    EXPECT_EQ(ResolvedOnC(row.windowsPath), "");
    row.change();
    EXPECT_EQ(ResolvedOnC(row.windowsPath), row.expected);
  }
}

// A copy into one folder asks for its path again and again while other
// folders are indexed: the folders above it, unused meanwhile, are the
// first the index forgets to make room, and with them the notes that would
// tell of their renames. A path once vouched for must then be checked
// again, not answered from the index of a folder it may no longer name.
TEST(NameIndex, AFolderAboveForgottenToMakeRoomEndsTheVouching) {
  WriteHostFile(HostOnC("Up/Down/Leaf/one.txt"), "x");
  ResolvedOnC("C:\\up\\down\\leaf\\none.txt");
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(ResolvedOnC("C:\\Up\\Down\\Leaf\\none.txt"), "");
    const std::string other = "Other" + std::to_string(i);
    fs::create_directories(HostOnC(other));
    ResolvedOnC("C:\\" + other + "\\none.txt");
  }
  // Unseen by the folder still indexed, whose own path now names another.
  HostReplaces("Up/Down", "Up/Down.old", "Up/Down/Leaf/six.txt")();
  EXPECT_EQ(ResolvedOnC("C:\\Up\\Down\\Leaf\\SIX.txt"), "Up/Down/Leaf/six.txt");
}
// Copies into a folder, and searches for names missing from it, are
// answered from the folder's index and made in the folder held open from
// the copy before: a folder replaced behind their back in between must be
// seen, and the next copy must land in the folder the path names now.
TEST(NameIndex, CopiesAndSearchesFollowAFolderReplacedBetweenThem) {
  WriteHostFile(HostOnC("source.txt"), "content");
  qm::test::TempDir outside("qm-outside");
  auto searchError = [](const std::string& pattern) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError();
    FindClose(search);
    return static_cast<DWORD>(ERROR_SUCCESS);
  };
  struct Row {
    const char* top;  // the row's own folder under C:, holding Sub
    std::function<void(const std::string& top)> change;
    const char* aside;  // where the replaced folder went, relative to top; "" for nowhere on the drive
  };
  const std::vector<Row> rows{
      {"Renamed", [](const std::string& top) { HostReplaces(top + "/Sub", top + "/Sub.old", top + "/Sub/made.txt")(); },
       "Sub.old"},
      {"Above", [](const std::string& top) { HostReplaces(top, top + ".old", top + "/Sub/made.txt")(); }, "../Above.old/Sub"},
      {"Removed",
       [](const std::string& top) {
         fs::remove_all(HostOnC(top + "/Sub"));
         WriteHostFile(HostOnC(top + "/Sub/made.txt"), "x");
       },
       ""},
      {"Linked",
       [&](const std::string& top) {
         HostRename(top + "/Sub", top + "/Sub.old");
         WriteHostFile(outside.Path() + "/made.txt", "x");
         fs::create_directory_symlink(outside.Path(), HostOnC(top + "/Sub"));
       },
       "Sub.old"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.top);
    const std::string top = row.top;
    const std::string windowsSub = "C:\\" + top + "\\Sub\\";
    WriteHostFile(HostOnC(top + "/Sub/seed.txt"), "x");
    for (const char* name : {"first.txt", "second.txt"}) {
      EXPECT_EQ(searchError(windowsSub + name), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
      ASSERT_TRUE(CopyFileA("C:\\source.txt", (windowsSub + name).c_str(), FALSE));
    }
    EXPECT_EQ(searchError(windowsSub + "MADE.TXT"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    row.change(top);
    EXPECT_EQ(searchError(windowsSub + "MADE.TXT"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(searchError(windowsSub + "first.txt"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(CopyFileA("C:\\source.txt", (windowsSub + "third.txt").c_str(), FALSE));
    EXPECT_EQ(ReadHostFile(HostOnC(top + "/Sub/third.txt")), "content");
    if (*row.aside) {
      EXPECT_EQ(HostEntries(HostOnC(top + "/" + row.aside)),
                (std::vector<std::string>{"first.txt", "second.txt", "seed.txt"}));
    }
  }
}
