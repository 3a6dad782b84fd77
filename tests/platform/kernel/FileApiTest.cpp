#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"

using namespace qm::test;

namespace {

struct DiskSpace { BOOL answered; DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0; };

DiskSpace SpaceOf(const char* root) {
  DiskSpace space;
  space.answered = GetDiskFreeSpaceA(root, &space.sectors, &space.bytes, &space.freeClusters, &space.totalClusters);
  return space;
}

ULONGLONG FreeBytes(const char* root) {
  DiskSpace space = SpaceOf(root);
  EXPECT_TRUE(space.answered) << root;
  return ULONGLONG(space.sectors) * space.bytes * space.freeClusters;
}

}  // namespace

// The host is not asked: a missing folder has a full form too.
TEST(GetFullPathName, GivesThePathAsEveryCallReadsIt) {
  struct Row {
    const char* path;
    const char* full;  // null: refused with ERROR_INVALID_NAME
    int filePart;      // where the last name starts; -1 for none
  } rows[] = {
      {"C:\\Games\\Quellmoor", "C:\\Games\\Quellmoor", 9},
      {"c:/games//Quellmoor", "c:\\games\\Quellmoor", 9},
      {"C:Games", "C:\\Games", 3},
      {"C:\\Games\\..\\..\\Up\\.", "C:\\Up", 3},
      {"C:\\Games\\Up. .", "C:\\Games\\Up", 9},
      {"C:\\Games\\", "C:\\Games\\", -1},
      {"C:\\", "C:\\", -1},
      {"Games\\Quellmoor", nullptr, 0},
      {"C:\\Games\\a|b", nullptr, 0},
      {"C:\\Games\\Q*", nullptr, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    char buffer[MAX_PATH] = {};
    LPSTR filePart = buffer;
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetFullPathNameA(row.path, MAX_PATH, buffer, &filePart);
    if (!row.full) {
      EXPECT_EQ(length, 0u);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
      continue;
    }
    EXPECT_STREQ(buffer, row.full);
    EXPECT_EQ(length, std::strlen(row.full));
    EXPECT_EQ(filePart ? static_cast<int>(filePart - buffer) : -1, row.filePart);
    // Too small a buffer: the size needed, terminator included.
    EXPECT_EQ(GetFullPathNameA(row.path, length, buffer, nullptr), length + 1);
  }
}

TEST(FileAttributes, ReportsAndChangesTheReadOnlyBit) {
  WriteHostFile(HostOnC("Games/a.txt"), "a");
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);
  for (const char* folder : {"C:\\Games", "C:\\Games\\", "C:\\"})
    EXPECT_EQ(GetFileAttributesA(folder), FILE_ATTRIBUTE_DIRECTORY) << folder;

  ASSERT_TRUE(SetFileAttributesA("C:\\Games\\a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  struct stat status;
  ASSERT_EQ(stat(HostOnC("Games/a.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0222, 0u);
  ASSERT_TRUE(SetFileAttributesA("C:\\Games\\a.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);

  // A read-only folder still takes new entries on Windows.
  ASSERT_TRUE(SetFileAttributesA("C:\\Games", FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(ModeOf(HostOnC("Games")) & S_IWUSR, 0u);
}

TEST(FileAttributes, ReportsMissingNamesThroughTheLastError) {
  std::filesystem::create_directories(HostOnC("Games"));
  std::pair<const char*, DWORD> rows[] = {
      {"C:\\Games\\missing.txt", ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\a.txt", ERROR_PATH_NOT_FOUND},
      {"C:\\Games\\*.txt", ERROR_INVALID_NAME},
      {"Q:\\a.txt", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& [name, error] : rows) {
    SCOPED_TRACE(name);
    EXPECT_EQ(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), error);
    EXPECT_EQ(FailureOf(SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL)), error);
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

// The shell and the DirectX stand-in learn sizes and kinds through this
// call; it must tell what a directory search tells.
TEST(GetFileAttributesEx, AgreesWithTheDirectorySearch) {
  WriteHostFile(HostOnC("Medium/big.pak"), std::string(300000, 'q'));
  WriteHostFile(HostOnC("Medium/locked.txt"), "locked");
  MakeHostReadOnly(HostOnC("Medium/locked.txt"));
  std::filesystem::create_directories(HostOnC("Medium/sub"));
  for (const char* name : {"C:\\Medium\\big.pak", "C:\\medium\\LOCKED.TXT", "C:\\Medium\\sub"}) {
    SCOPED_TRACE(name);
    WIN32_FIND_DATAA expected = FindOne(name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(name, GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, expected.dwFileAttributes);
    EXPECT_EQ(data.nFileSizeHigh, expected.nFileSizeHigh);
    EXPECT_EQ(data.nFileSizeLow, expected.nFileSizeLow);
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, expected.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, expected.ftLastWriteTime.dwHighDateTime);
  }
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA("C:\\Medium\\big.pak", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 300000u);
  ASSERT_TRUE(GetFileAttributesExA("C:\\Medium\\sub", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 0u);
}

TEST(GetFileAttributesEx, FailsThroughTheLastError) {
  WriteHostFile(HostOnC("Games/a.txt"), "a");
  WIN32_FILE_ATTRIBUTE_DATA data;
  struct Row { const char* name; GET_FILEEX_INFO_LEVELS level; LPVOID buffer; DWORD error; } rows[] = {
      {"C:\\Games\\missing.txt", GetFileExInfoStandard, &data, ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\a.txt", GetFileExInfoStandard, &data, ERROR_PATH_NOT_FOUND},
      {"C:\\Games\\*.txt", GetFileExInfoStandard, &data, ERROR_INVALID_NAME},
      {"C:\\Games\\a.txt", GetFileExMaxInfoLevel, &data, ERROR_INVALID_PARAMETER},
      {"C:\\Games\\a.txt", GetFileExInfoStandard, nullptr, ERROR_INVALID_PARAMETER},
      {nullptr, GetFileExInfoStandard, &data, ERROR_INVALID_PARAMETER},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name ? row.name : "(null)");
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FailureOf(GetFileAttributesExA(row.name, row.level, row.buffer)), row.error);
  }
}

TEST(Directories, CreateAndRemoveAsWindowsDoes) {
  EXPECT_TRUE(CreateDirectoryA("C:\\Games", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games")));
  EXPECT_EQ(FailureOf(CreateDirectoryA("C:\\GAMES", nullptr)), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(FailureOf(CreateDirectoryA("C:\\Missing\\Games", nullptr)), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(CreateDirectoryA("C:\\games\\Quellmoor\\", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games/Quellmoor")));
  // A bare drive is refused without harm.
  EXPECT_FALSE(CreateDirectoryA("C:", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(HostOnC("Games")));

  EXPECT_EQ(FailureOf(RemoveDirectoryA("C:\\Games")), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(RemoveDirectoryA("C:\\games\\quellmoor"));
  EXPECT_TRUE(RemoveDirectoryA("C:\\Games\\"));
  EXPECT_FALSE(HostExists(HostOnC("Games")));
  EXPECT_EQ(FailureOf(RemoveDirectoryA("C:\\Games")), ERROR_FILE_NOT_FOUND);
  WriteHostFile(HostOnC("file.txt"), "x");
  EXPECT_EQ(FailureOf(RemoveDirectoryA("C:\\file.txt")), ERROR_DIRECTORY);
  EXPECT_FALSE(RemoveDirectoryA("C:\\"));
}

TEST(DeleteFile, RefusesReadOnlyFilesAndDirectories) {
  WriteHostFile(HostOnC("Games/locked.txt"), "x");
  WriteHostFile(HostOnC("Games/open.txt"), "x");
  MakeHostReadOnly(HostOnC("Games/locked.txt"));
  EXPECT_EQ(FailureOf(DeleteFileA("C:\\Games\\locked.txt")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(HostExists(HostOnC("Games/locked.txt")));
  EXPECT_EQ(FailureOf(DeleteFileA("C:\\Games")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeleteFileA("C:\\GAMES\\OPEN.TXT"));
  EXPECT_FALSE(HostExists(HostOnC("Games/open.txt")));
  EXPECT_EQ(FailureOf(DeleteFileA("C:\\Games\\open.txt")), ERROR_FILE_NOT_FOUND);
}

TEST(DiskFreeSpace, AnswersForADriveRootOnly) {
  DiskSpace c = SpaceOf("C:\\");
  ASSERT_TRUE(c.answered);
  EXPECT_EQ(c.bytes, 512u);
  EXPECT_GE(c.sectors, 1u);
  EXPECT_GT(c.totalClusters, 0u);
  EXPECT_LE(c.freeClusters, c.totalClusters);
  EXPECT_TRUE(SpaceOf("c:/").answered);
  for (const char* root : {"C:\\Games", "C:", "C:\\Windows\\", "Games"})
    EXPECT_EQ(FailureOf(SpaceOf(root).answered), ERROR_INVALID_NAME) << root;
  EXPECT_EQ(FailureOf(SpaceOf("Q:\\").answered), ERROR_PATH_NOT_FOUND);
}

TEST(FreeSpaceOverride, FixesTheDriveItNamesUntilCleared) {
  qm::kernel::SetDiskFreeSpaceOverride('c', 8ull << 20);
  EXPECT_EQ(FreeBytes("C:\\"), 8ull << 20);
  EXPECT_EQ(FreeBytes("c:\\"), 8ull << 20);
  EXPECT_NE(FreeBytes("Z:\\"), 0u);
  qm::kernel::SetDiskFreeSpaceOverride('C', std::nullopt);
  EXPECT_FALSE(qm::kernel::DiskFreeSpaceOverride('C').has_value());
}

TEST(FreeSpaceOverride, ReportsFreeSpaceBeyondTheClusterCountAsTheLargestCount) {
  qm::kernel::SetDiskFreeSpaceOverride('C', ~0ull);
  DiskSpace c = SpaceOf("C:\\");
  ASSERT_TRUE(c.answered);
  EXPECT_EQ(c.freeClusters, 0xFFFFFFFFu);
}

TEST(CloseHandle, RefusesHandlesThatAreNotOpen) {
  EXPECT_EQ(FailureOf(CloseHandle(reinterpret_cast<HANDLE>(0x1234))), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(nullptr));
  // The current process's pseudo-handle closes without effect.
  EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(search));
  EXPECT_FALSE(CloseHandle(search));
}
