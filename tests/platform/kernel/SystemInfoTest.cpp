#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"

TEST(SystemInfo, NamesTheWindowsAndTemporaryFolders) {
  char buffer[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryA(buffer, MAX_PATH), 10u);
  EXPECT_STREQ(buffer, "C:\\Windows");
  EXPECT_EQ(GetTempPathA(MAX_PATH, buffer), 16u);
  EXPECT_STREQ(buffer, "C:\\Windows\\Temp\\");
  EXPECT_EQ(GetFileAttributesA(buffer), FILE_ATTRIBUTE_DIRECTORY);
  // Too small a buffer: the size needed, terminator included, and the
  // buffer untouched.
  std::strcpy(buffer, "unchanged");
  EXPECT_EQ(GetTempPathA(16, buffer), 17u);
  EXPECT_STREQ(buffer, "unchanged");
  EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), 11u);
}

TEST(SystemInfo, NamesTheRunningProgramByItsWindowsPath) {
  char buffer[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string expected = std::string("Z:") + exe;
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(length, expected.size());
  // Windows finds the program again through that path.
  EXPECT_NE(GetFileAttributesA(buffer), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, MAX_PATH), length);
}

TEST(SystemInfo, TruncatesTheModuleNameToTheBuffer) {
  qm::kernel::SetModuleFileNameOverride("Z:\\home\\me\\medium\\setup");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 8u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_STREQ(buffer, "Z:\\home");
  char whole[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameA(nullptr, whole, MAX_PATH), 23u);
  EXPECT_STREQ(whole, "Z:\\home\\me\\medium\\setup");
}

TEST(SystemInfo, KnowsOnlyItsOwnModule) {
  qm::kernel::SetModuleFileNameOverride("Z:\\home\\me\\medium\\setup");
  HMODULE own = GetModuleHandleA(nullptr);
  EXPECT_NE(own, nullptr);
  EXPECT_EQ(GetModuleHandleA("SETUP"), own);
  EXPECT_EQ(GetModuleHandleA("setup.exe"), own);
  EXPECT_EQ(GetModuleHandleA("nosuch.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  char buffer[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x1000), buffer, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}
