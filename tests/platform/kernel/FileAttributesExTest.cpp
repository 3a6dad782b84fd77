#include <gtest/gtest.h>

#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/LastError.h"

using namespace qm::test;

// The shell and the DirectX stand-in learn sizes and kinds through this
// call; it must tell what a directory search tells.
TEST(GetFileAttributesEx, AgreesWithTheDirectorySearch) {
  WriteHostFile(HostOnC("Medium/big.pak"), std::string(300000, 'q'));
  WriteHostFile(HostOnC("Medium/locked.txt"), "locked");
  MakeHostReadOnly(HostOnC("Medium/locked.txt"));
  std::filesystem::create_directories(HostOnC("Medium/sub"));
  for (const char* name : {"C:\\Medium\\big.pak", "C:\\medium\\LOCKED.TXT", "C:\\Medium\\sub"}) {
    SCOPED_TRACE(name);
    WIN32_FIND_DATAA expected;
    HANDLE search = FindFirstFileA(name, &expected);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
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
  std::filesystem::create_directories(HostOnC("Games"));
  WriteHostFile(HostOnC("Games/a.txt"), "a");
  WIN32_FILE_ATTRIBUTE_DATA data;
  struct Row {
    const char* name;
    GET_FILEEX_INFO_LEVELS level;
    LPVOID buffer;
    DWORD error;
  } rows[] = {
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
    EXPECT_FALSE(GetFileAttributesExA(row.name, row.level, row.buffer));
    EXPECT_EQ(GetLastError(), row.error);
  }
}
