#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/Crt.h"

using namespace qm::test;

TEST(Crt, OpensFilesByTheirWindowsNames) {
  WriteHostFile(HostOnC("Medium/install.cfg"), "1234 db\n");
  std::FILE* file = CrtOpenFile("C:\\MEDIUM\\Install.cfg", "r");
  ASSERT_NE(file, nullptr);
  char line[32] = {};
  ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
  std::fclose(file);
  EXPECT_STREQ(line, "1234 db\n");

  file = CrtOpenFile("C:\\medium\\Notes.txt", "w");
  ASSERT_NE(file, nullptr);
  std::fputs("written", file);
  std::fclose(file);
  EXPECT_EQ(ReadHostFile(HostOnC("Medium/Notes.txt")), "written");
}

TEST(Crt, RefusesToWriteReadOnlyFilesOrOpenFolders) {
  WriteHostFile(HostOnC("locked.txt"), "x");
  MakeHostReadOnly(HostOnC("locked.txt"));
  std::filesystem::create_directories(HostOnC("Folder"));
  struct Row {
    const char* name;
    const char* mode;
    int error;
  } rows[] = {
      {"C:\\locked.txt", "r+", EACCES}, {"C:\\locked.txt", "w", EACCES}, {"C:\\Folder", "r", EACCES},
      {"C:\\missing.txt", "r", ENOENT}, {"C:\\Missing\\new.txt", "w", ENOENT},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + " " + row.mode);
    errno = 0;
    EXPECT_EQ(CrtOpenFile(row.name, row.mode), nullptr);
    EXPECT_EQ(errno, row.error);
  }
  std::FILE* file = CrtOpenFile("C:\\locked.txt", "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(ReadHostFile(HostOnC("locked.txt")), "x");
}

TEST(Crt, StatsLikeTheRuntimeDoes) {
  std::string big = HostOnC("Data/big.bin");
  WriteHostFile(big, "");
  ASSERT_EQ(truncate(big.c_str(), (1LL << 32) + 10), 0);
  CrtStat status{};
  ASSERT_EQ(CrtStatFile("C:\\data\\BIG.BIN", &status), 0);
  EXPECT_EQ(status.size, 10u);
  EXPECT_FALSE(status.isDirectory);
  EXPECT_FALSE(status.isReadOnly);
  ASSERT_EQ(CrtStatFile("C:\\Data", &status), 0);
  EXPECT_TRUE(status.isDirectory);
  EXPECT_EQ(CrtStatFile("C:\\", &status), 0);
  // A folder written with a trailing backslash, or a pattern, is not found.
  for (const char* name : {"C:\\Data\\", "C:\\Data\\*.bin", "C:\\Data\\none.bin"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CrtStatFile(name, &status), -1);
    EXPECT_EQ(errno, ENOENT);
  }
}
