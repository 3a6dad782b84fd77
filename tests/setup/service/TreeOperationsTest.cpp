#include <gtest/gtest.h>

#include <filesystem>

#include "install/service/Service.h"
#include "platform/kernel/Prefix.h"
#include "support/WindowsFiles.h"

namespace {

using qm::test::Exists;
using qm::test::MakeWindowsDirectory;
using qm::test::WriteWindowsFile;

TEST(TreeOperations, IsDirectoryAndFileExistsFollowTheSearch) {
  MakeWindowsDirectory("C:\\Games");
  ASSERT_TRUE(WriteWindowsFile("C:\\Games\\play.exe", "x"));
  struct Case {
    const char* name;
    bool isDirectory;
    bool exists;
  };
  const Case cases[] = {
      {"C:\\", false, false},  // a name ending in a backslash is never found
      {"C:\\Games", true, true},         {"C:\\Games\\", false, false},
      {"C:\\Games\\play.exe", false, true}, {"C:\\Games\\*.exe", false, true},
      {"C:\\Games\\*.dll", false, false},
      // A pattern finds what it matches, but no pattern is a directory.
      {"C:\\Gam*", false, true},           {"C:\\G?mes", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsDirectory(c.name), c.isDirectory);
    EXPECT_EQ(FileExists(c.name), c.exists);
  }
  EXPECT_FALSE(IsDirectory(static_cast<const char*>(nullptr)));
}

TEST(TreeOperations, CreateDirectoryPathWithTrailingBackslashCreatesButAnswersFalse) {
  EXPECT_FALSE(CreateDirectoryPath("C:\\Games\\Quellmoor\\"));
  EXPECT_TRUE(IsDirectory("C:\\Games\\Quellmoor"));
  EXPECT_TRUE(CreateDirectoryPath("C:\\Games\\Quellmoor\\bin"));
}

TEST(TreeOperations, DirectorySizeWrapsAt32BitsWhileTheWideWalkKeepsAll) {
  MakeWindowsDirectory("C:\\tree\\a\\b");
  MakeWindowsDirectory("C:\\tree\\empty");
  ASSERT_TRUE(WriteWindowsFile("C:\\tree\\a\\thousand.dat", std::string(1000, 'x')));
  ASSERT_TRUE(WriteWindowsFile("C:\\tree\\a\\b\\small.dat", std::string(24, 'y')));
  EXPECT_EQ(GetDirectorySize("C:\\tree"), 1024);
  EXPECT_EQ(GetDirectorySize("C:\\tree\\empty"), 0);
  EXPECT_EQ(GetDirectorySize("C:\\tree\\a\\thousand.dat"), 0);

  ASSERT_TRUE(WriteWindowsFile("C:\\tree\\empty\\disc.pak", ""));
  std::filesystem::resize_file(*qm::kernel::ResolveWindowsPath("C:\\tree\\empty\\disc.pak"),
                               (std::uintmax_t{1} << 32) + 10);  // sparse
  EXPECT_EQ(GetDirectorySize("C:\\tree\\empty"), 10);
  EXPECT_EQ(GetDirectorySize64("C:\\tree"), (std::uint64_t{1} << 32) + 1034);
}

TEST(TreeOperations, DeleteDirectoryTreeLeavesAReadOnlyFileAndItsAncestors) {
  MakeWindowsDirectory("C:\\old\\keep\\deeper");
  MakeWindowsDirectory("C:\\old\\gone\\deeper");
  ASSERT_TRUE(WriteWindowsFile("C:\\old\\gone\\deeper\\a.txt", "a"));
  ASSERT_TRUE(WriteWindowsFile("C:\\old\\keep\\b.txt", "b"));
  ASSERT_TRUE(WriteWindowsFile("C:\\old\\keep\\deeper\\locked.txt", "l"));
  ASSERT_TRUE(SetFileAttributesA("C:\\old\\keep\\deeper\\locked.txt", FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(DeleteDirectoryTree("C:\\old"));
  EXPECT_TRUE(Exists("C:\\old\\keep\\deeper\\locked.txt"));
  EXPECT_FALSE(Exists("C:\\old\\keep\\b.txt"));
  EXPECT_FALSE(Exists("C:\\old\\gone"));

  ASSERT_TRUE(SetFileAttributesA("C:\\old\\keep\\deeper\\locked.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteDirectoryTree("C:\\old"));
  EXPECT_FALSE(Exists("C:\\old"));
}

TEST(TreeOperations, EmptyDirectoriesAndBusyFiles) {
  MakeWindowsDirectory("C:\\box\\inner");
  ASSERT_TRUE(WriteWindowsFile("C:\\box\\one.txt", "1"));
  ASSERT_TRUE(WriteWindowsFile("C:\\box\\locked.txt", "l"));
  ASSERT_TRUE(SetFileAttributesA("C:\\box\\locked.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsDirectoryEmpty("C:\\box\\inner"));
  EXPECT_FALSE(IsDirectoryEmpty("C:\\box"));
  EXPECT_TRUE(IsDirectoryEmpty("C:\\box\\missing"));
  EXPECT_FALSE(IsFileBusy("C:\\box\\one.txt"));
  EXPECT_TRUE(IsFileBusy("C:\\box\\locked.txt"));
  EXPECT_TRUE(IsFileBusy("C:\\box\\missing.txt"));
}

TEST(TreeOperations, ShortAndLongPathsConvertExistingDirectoriesOnly) {
  MakeWindowsDirectory("C:\\Quellmoor Saved Games\\Long Folder Name");
  ASSERT_TRUE(WriteWindowsFile("C:\\Quellmoor Saved Games\\Long Folder Name\\first save.dat", "s"));
  const std::string top = GetShortEntryName("C:\\Quellmoor Saved Games");
  const std::string inner = GetShortEntryName("C:\\Quellmoor Saved Games\\Long Folder Name");
  ASSERT_LE(top.size(), 12u);
  ASSERT_NE(top, "");

  const std::string shortPath = ToShortPath("C:\\Quellmoor Saved Games\\Long Folder Name\\first save.dat");
  EXPECT_EQ(shortPath, "C:\\" + top + "\\" + inner + "\\first save.dat");
  EXPECT_EQ(ToLongPath(shortPath), "C:\\Quellmoor Saved Games\\Long Folder Name\\first save.dat");
  EXPECT_EQ(ToShortPath("C:\\Quellmoor Saved Games\\not here\\x"), "C:\\" + top + "\\not here\\x");
}

}  // namespace
