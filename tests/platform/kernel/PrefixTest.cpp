#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"
#include "support/TempDir.h"

using namespace qm::kernel;
namespace fs = std::filesystem;
using namespace qm::test;

TEST(Prefix, ComesFromTheEnvironmentAndIsLaidOutOnFirstUse) {
  EXPECT_EQ(PrefixRoot(), std::getenv("QUELLMOOR_PREFIX"));
  for (const char* folder : {"drive_c/Windows", "drive_c/Windows/Temp", "drive_c/Windows/System",
                             "drive_c/Windows/Start Menu/Programs", "drive_c/Windows/Desktop"}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(fs::is_directory(PrefixRoot() + "/" + folder));
  }
}

TEST(Prefix, FallsBackToTheDataFolder) {
  unsetenv("QUELLMOOR_PREFIX");
  SetPrefixRoot("");
  EXPECT_EQ(PrefixRoot(), std::string(std::getenv("XDG_DATA_HOME")) + "/quellmoor");
  unsetenv("XDG_DATA_HOME");
  SetPrefixRoot("");
  EXPECT_EQ(PrefixRoot(), std::string(std::getenv("HOME")) + "/.local/share/quellmoor");
  EXPECT_TRUE(fs::is_directory(PrefixRoot() + "/drive_c/Windows/Temp"));
}

TEST(Prefix, MapsDrivesAndRemembersThem) {
  qm::test::TempDir medium("medium");
  EXPECT_EQ(*DriveFolder('c'), PrefixRoot() + "/drive_c");
  EXPECT_EQ(*DriveFolder('Z'), "/");
  EXPECT_FALSE(DriveFolder('D').has_value());
  MapDrive('d', medium.Path() + "/");
  EXPECT_EQ(*DriveFolder('D'), medium.Path());
  // Another start of the platform on the same prefix sees the drive.
  SetPrefixRoot(PrefixRoot());
  EXPECT_EQ(*DriveFolder('D'), medium.Path());
  MapDrive('D', "");
  SetPrefixRoot(PrefixRoot());
  EXPECT_FALSE(DriveFolder('D').has_value());
}

TEST(Prefix, NamesHostPathsThroughTheMostSpecificDrive) {
  qm::test::TempDir medium("medium");
  MapDrive('E', medium.Path());
  struct Row { std::string host; std::string windows; } rows[] = {
      {PrefixRoot() + "/drive_c/Games/Quellmoor", "C:\\Games\\Quellmoor"},
      {PrefixRoot() + "/drive_c", "C:\\"},
      {PrefixRoot() + "/drive_cc", "Z:" + PrefixRoot() + "\\drive_cc"},
      {medium.Path() + "/setup", "E:\\setup"},
      {"/usr/bin/../bin/env", "Z:\\usr\\bin\\env"},
      {"/", "Z:\\"},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.host);
    std::string expected = row.windows;
    // Only the drive's own part uses backslashes; the prefix part was written with slashes.
    for (size_t i = 2; i < expected.size(); ++i)
      if (expected[i] == '/') expected[i] = '\\';
    EXPECT_EQ(HostToWindowsPath(row.host), expected);
  }
}

TEST(Prefix, ResolvesPathsCaseInsensitivelyKeepingMissingPartsAsWritten) {
  qm::test::WriteHostFile(qm::test::HostOnC("Games/Quellmoor/bin/start.exe"), "x");
  std::pair<const char*, std::string> rows[] = {
      {"C:\\games\\QUELLMOOR\\Bin\\START.EXE", qm::test::HostOnC("Games/Quellmoor/bin/start.exe")},
      {"C:\\games\\new\\Folder", qm::test::HostOnC("Games/new/Folder")},
      {"C:\\Games\\..\\games\\.\\quellmoor\\", qm::test::HostOnC("Games/Quellmoor/")},
      {"Z:\\", "/"},
  };
  for (const auto& [windows, host] : rows) EXPECT_EQ(ResolveWindowsPath(windows).value_or("none"), host) << windows;
  EXPECT_FALSE(ResolveWindowsPath("Q:\\x").has_value());
  EXPECT_FALSE(ResolveWindowsPath("C:\\a?").has_value());
}

TEST(Prefix, PrefersTheExactNameAmongNamesDifferingInCase) {
  qm::test::WriteHostFile(qm::test::HostOnC("Mixed/readme.txt"), "lower");
  qm::test::WriteHostFile(qm::test::HostOnC("Mixed/README.TXT"), "upper");
  EXPECT_EQ(*ResolveWindowsPath("C:\\Mixed\\README.TXT"), qm::test::HostOnC("Mixed/README.TXT"));
  EXPECT_EQ(*ResolveWindowsPath("C:\\Mixed\\readme.txt"), qm::test::HostOnC("Mixed/readme.txt"));
  EXPECT_EQ(*ResolveWindowsPath("C:\\Mixed\\ReadMe.txt"), qm::test::HostOnC("Mixed/README.TXT"));
}

// A path is resolved from its end where it can (what exists as written
// costs one status query) and name by name where it must; the answers are
// those of a walk through every name, whichever way was taken.
namespace {

void MakeLayout() {
  WriteHostFile(HostOnC("Res/Dir/file.txt"), "x");
  WriteHostFile(HostOnC("Res/Program Files/tool.exe"), "x");
  fs::create_symlink("Dir", HostOnC("Res/link-to-dir"));
  fs::create_symlink("nowhere", HostOnC("Res/dangling"));
}

}  // namespace

TEST(Resolution, AnswersWhatANameByNameWalkAnswers) {
  MakeLayout();
  // `attributes` is INVALID_FILE_ATTRIBUTES, with `error`, when not found.
  struct Row { const char* path; DWORD attributes; DWORD error; } rows[] = {
      {"C:\\Res\\Dir\\file.txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\res\\DIR\\File.Txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Dir\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\RES\\dir\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\Res\\link-to-dir\\file.txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Link-To-Dir\\FILE.TXT", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\PROGRA~1\\TOOL.EXE", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Dir\\missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\dir\\MISSING.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\Missing\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\Missing\\Deeper\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\Dir\\file.txt\\more", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\dangling", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\DANGLING", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\dangling\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
  };
  // Twice: the second time every folder on the way is indexed.
  for (int pass = 0; pass < 2; ++pass) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.path) + (pass ? " (indexed)" : ""));
      SetLastError(ERROR_SUCCESS);
      EXPECT_EQ(GetFileAttributesA(row.path), row.attributes);
      if (row.attributes == INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(GetLastError(), row.error);
      }
    }
  }
}

// What the resolution learnt on the way stands in for a status query only
// where the two cannot differ: a link is still examined as a link.
TEST(Resolution, DeletesALinkItselfAndNeverWhatItPointsTo) {
  MakeLayout();
  EXPECT_TRUE(DeleteFileA("C:\\Res\\DANGLING"));
  EXPECT_FALSE(HostExists(HostOnC("Res/dangling")));
  EXPECT_TRUE(DeleteFileA("C:\\Res\\link-to-dir"));
  EXPECT_FALSE(HostExists(HostOnC("Res/link-to-dir")));
  EXPECT_TRUE(HostExists(HostOnC("Res/Dir/file.txt")));
  EXPECT_EQ(FailureOf(DeleteFileA("C:\\Res\\Dir")), ERROR_ACCESS_DENIED);
}

TEST(Resolution, CopiesFromAndToNamesInAnyCase) {
  WriteHostFile(HostOnC("From/Source File.DAT"), "payload");
  WriteHostFile(HostOnC("To/Target.DAT"), "old");
  std::tuple<const char*, const char*, const char*> rows[] = {
      {"C:\\From\\Source File.DAT", "C:\\To\\New.dat", "To/New.dat"},
      {"C:\\FROM\\source file.dat", "C:\\to\\target.dat", "To/Target.DAT"},
      {"C:\\from\\SOURCE~1.DAT", "C:\\To\\Third.dat", "To/Third.dat"},
  };
  for (const auto& [source, target, hostTarget] : rows) {
    SCOPED_TRACE(source);
    ASSERT_TRUE(CopyFileA(source, target, FALSE));
    EXPECT_EQ(ReadHostFile(HostOnC(hostTarget)), "payload");
  }
  EXPECT_EQ(FailureOf(CopyFileA("C:\\From\\Missing.dat", "C:\\To\\x.dat", FALSE)), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(HostExists(HostOnC("To/x.dat")));
}
