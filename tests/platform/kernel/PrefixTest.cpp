#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"
#include "support/TempDir.h"

using namespace qm::kernel;
namespace fs = std::filesystem;

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
  struct Row {
    std::string host;
    std::string windows;
  } rows[] = {
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
