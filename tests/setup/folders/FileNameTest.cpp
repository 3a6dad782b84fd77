#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "install/folders/FileName.h"
#include "platform/kernel/Prefix.h"

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

}  // namespace

TEST(FileName, APathIsSplitAsTheRuntimeSplitsIt) {
  const std::string longFolder(300, 'd');
  const struct {
    std::string path;
    std::string name;
    std::string folder;
    std::string title;
  } rows[] = {
      {"C:\\Games\\Quellmoor\\readme.txt", "readme.txt", "C:\\Games\\Quellmoor\\", "readme"},
      {"C:\\Games\\Quellmoor\\", "", "C:\\Games\\Quellmoor\\", ""},
      {"C:\\", "", "C:\\", ""},
      {"C:readme.txt", "readme.txt", "C:", "readme"},
      {"C:\\a.b\\c", "c", "C:\\a.b\\", "c"},
      {"C:/Games/setup.tar.gz", "setup.tar.gz", "C:/Games/", "setup.tar"},
      {"\\\\server\\.profile", ".profile", "\\\\server\\", ""},
      {"readme", "readme", "", "readme"},
      // Parts are kept whole, however long.
      {"C:\\" + longFolder + "\\" + longFolder + ".txt", longFolder + ".txt", "C:\\" + longFolder + "\\", longFolder},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    FileName file(row.path);
    EXPECT_EQ(file.GetNameWithExtension(), row.name);
    EXPECT_EQ(file.GetDriveAndDirectory(), row.folder);
    EXPECT_EQ(file.GetTitle(), row.title);
  }
}

TEST(FileName, ExistsDropsOneTrailingBackslash) {
  std::filesystem::create_directories(Host("C:\\Games\\Quellmoor"));
  std::ofstream(Host("C:\\Games\\Quellmoor") + "/readme.txt") << "x";
  const struct {
    const char* path;
    bool exists;
  } rows[] = {
      {"C:\\Games\\Quellmoor", true},    {"c:\\games\\quellmoor\\", true}, {"C:\\Games\\Quellmoor\\\\", false},
      {"C:\\Games\\Quellmoor\\readme.txt", true}, {"C:\\Games\\Missing", false},  {"", false},
  };
  FileName file;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    file.SetPath(row.path);
    EXPECT_EQ(file.Exists(), row.exists);
  }
}

TEST(FileName, TheTypeNameIsTheShells) {
  std::filesystem::create_directories(Host("C:\\Games"));
  std::ofstream(Host("C:\\Games") + "/readme.txt") << "x";
  EXPECT_EQ(FileName("C:\\Games").GetTypeName(), "File Folder");
  EXPECT_EQ(FileName("C:\\Games\\readme.txt").GetTypeName(), "Text Document");
  EXPECT_EQ(FileName("C:\\Games\\missing.txt").GetTypeName(), "");
}
