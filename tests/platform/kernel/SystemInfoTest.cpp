#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/ToolHelp.h"
#include "support/CallFailure.h"

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

namespace {

std::vector<PROCESSENTRY32> Snapshot() {
  std::vector<PROCESSENTRY32> entries;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return entries;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    entries.push_back(entry);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  CloseHandle(snapshot);
  return entries;
}

const PROCESSENTRY32* FindProcess(const std::vector<PROCESSENTRY32>& entries, DWORD pid) {
  for (const PROCESSENTRY32& entry : entries)
    if (entry.th32ProcessID == pid) return &entry;
  return nullptr;
}

std::string OwnExecutableName() {
  char path[4096] = {};
  readlink("/proc/self/exe", path, sizeof path - 1);
  return std::strrchr(path, '/') + 1;
}

}  // namespace

TEST(ToolHelp, ListsTheCallingProcessByItsExecutableName) {
  std::vector<PROCESSENTRY32> entries = Snapshot();
  const PROCESSENTRY32* self = FindProcess(entries, static_cast<DWORD>(getpid()));
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(std::string(self->szExeFile), OwnExecutableName());
  EXPECT_EQ(self->th32ParentProcessID, static_cast<DWORD>(getppid()));
  EXPECT_GE(self->cntThreads, 1u);
  EXPECT_EQ(self->dwSize, sizeof(PROCESSENTRY32));
}

TEST(ToolHelp, SeesAnotherProgramThatIsRunning) {
  // The child holds the write end until exec closes it, so once the read
  // end reports the end, the child runs its new program.
  int ready[2];
  ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
  int hold[2];
  ASSERT_EQ(pipe(hold), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(hold[0], 0);
    close(hold[0]);
    close(hold[1]);
    execl("/bin/cat", "cat", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  char byte;
  EXPECT_EQ(read(ready[0], &byte, 1), 0);
  close(ready[0]);

  close(hold[0]);
  std::vector<PROCESSENTRY32> entries = Snapshot();
  // The end of its input ends the child.
  close(hold[1]);
  int status;
  waitpid(child, &status, 0);

  const PROCESSENTRY32* process = FindProcess(entries, static_cast<DWORD>(child));
  ASSERT_NE(process, nullptr);
  EXPECT_STREQ(process->szExeFile, "cat");
  EXPECT_EQ(process->th32ParentProcessID, static_cast<DWORD>(getpid()));
}

TEST(ToolHelp, AProgramThatEndedIsNotListedBeforeItsParentWaitsForIt) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  // Ended, not yet waited for: the host keeps its entry until waitpid.
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
  std::vector<PROCESSENTRY32> entries = Snapshot();
  EXPECT_EQ(FindProcess(entries, static_cast<DWORD>(child)), nullptr);
  EXPECT_NE(FindProcess(entries, static_cast<DWORD>(getpid())), nullptr);
  int status;
  waitpid(child, &status, 0);
}

TEST(ToolHelp, InsistsOnTheEntrySize) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32 entry{};
  EXPECT_EQ(qm::test::FailureOf(Process32First(snapshot, &entry)), ERROR_BAD_LENGTH);
  entry.dwSize = sizeof entry;
  EXPECT_TRUE(Process32First(snapshot, &entry));
  EXPECT_TRUE(CloseHandle(snapshot));
  EXPECT_EQ(qm::test::FailureOf(Process32Next(snapshot, &entry)), ERROR_INVALID_HANDLE);
}
