#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"

using namespace qm::test;

TEST(FileAttributes, ReportsAndChangesTheReadOnlyBit) {
  WriteHostFile(HostOnC("Games/a.txt"), "a");
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesA("C:\\Games"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\"), FILE_ATTRIBUTE_DIRECTORY);

  ASSERT_TRUE(SetFileAttributesA("C:\\Games\\a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  struct stat status;
  ASSERT_EQ(stat(HostOnC("Games/a.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0222, 0u);

  ASSERT_TRUE(SetFileAttributesA("C:\\Games\\a.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);

  // A read-only folder still takes new entries on Windows.
  ASSERT_TRUE(SetFileAttributesA("C:\\Games", FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(stat(HostOnC("Games").c_str(), &status), 0);
  EXPECT_NE(status.st_mode & S_IWUSR, 0u);
}

TEST(FileAttributes, ReportsMissingNamesThroughTheLastError) {
  std::filesystem::create_directories(HostOnC("Games"));
  struct Row {
    const char* name;
    DWORD error;
  } rows[] = {
      {"C:\\Games\\missing.txt", ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\a.txt", ERROR_PATH_NOT_FOUND},
      {"C:\\Games\\*.txt", ERROR_INVALID_NAME},
      {"Q:\\a.txt", ERROR_PATH_NOT_FOUND},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(GetFileAttributesA(row.name), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), row.error);
    EXPECT_FALSE(SetFileAttributesA(row.name, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), row.error);
  }
}

TEST(FileAttributes, APathCannotLeaveItsDrive) {
  WriteHostFile(HostOnC("inside.txt"), "x");
  // The prefix folder itself holds drive_c; ".." must not reach it.
  WriteHostFile(qm::kernel::PrefixRoot() + "/outside.txt", "x");
  EXPECT_EQ(GetFileAttributesA("C:\\..\\outside.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA("C:\\Windows\\..\\..\\..\\inside.txt"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(*qm::kernel::ResolveWindowsPath("C:\\..\\..\\x"), HostOnC("x"));
}

TEST(Directories, CreateAndRemoveAsWindowsDoes) {
  EXPECT_TRUE(CreateDirectoryA("C:\\Games", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games")));
  EXPECT_FALSE(CreateDirectoryA("C:\\GAMES", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryA("C:\\Missing\\Games", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(CreateDirectoryA("C:\\games\\Quellmoor\\", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games/Quellmoor")));
  // A bare drive is refused without harm.
  EXPECT_FALSE(CreateDirectoryA("C:", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games")));

  EXPECT_FALSE(RemoveDirectoryA("C:\\Games"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(RemoveDirectoryA("C:\\games\\quellmoor"));
  EXPECT_TRUE(RemoveDirectoryA("C:\\Games\\"));
  EXPECT_FALSE(HostExists(HostOnC("Games")));
  EXPECT_FALSE(RemoveDirectoryA("C:\\Games"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  WriteHostFile(HostOnC("file.txt"), "x");
  EXPECT_FALSE(RemoveDirectoryA("C:\\file.txt"));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(RemoveDirectoryA("C:\\"));
}

TEST(DeleteFile, RefusesReadOnlyFilesAndDirectories) {
  WriteHostFile(HostOnC("Games/locked.txt"), "x");
  WriteHostFile(HostOnC("Games/open.txt"), "x");
  MakeHostReadOnly(HostOnC("Games/locked.txt"));
  EXPECT_FALSE(DeleteFileA("C:\\Games\\locked.txt"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(HostExists(HostOnC("Games/locked.txt")));
  EXPECT_FALSE(DeleteFileA("C:\\Games"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeleteFileA("C:\\GAMES\\OPEN.TXT"));
  EXPECT_FALSE(HostExists(HostOnC("Games/open.txt")));
  EXPECT_FALSE(DeleteFileA("C:\\Games\\open.txt"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(DiskFreeSpace, AnswersForADriveRootOnly) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &freeClusters, &totalClusters));
  EXPECT_EQ(bytes, 512u);
  EXPECT_GE(sectors, 1u);
  EXPECT_GT(totalClusters, 0u);
  EXPECT_LE(freeClusters, totalClusters);
  EXPECT_TRUE(GetDiskFreeSpaceA("c:/", &sectors, &bytes, &freeClusters, &totalClusters));
  for (const char* root : {"C:\\Games", "C:", "C:\\Windows\\", "Games"}) {
    SCOPED_TRACE(root);
    EXPECT_FALSE(GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  }
  EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &freeClusters, &totalClusters));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(CloseHandle, RefusesHandlesThatAreNotOpen) {
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x1234)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(nullptr));
  // The current process's pseudo-handle closes without effect.
  EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(search));
  EXPECT_FALSE(CloseHandle(search));
}
