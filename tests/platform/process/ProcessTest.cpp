#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Synch.h"
#include "platform/shell/ShellExecute.h"
#include "support/HostProbes.h"

namespace qm::test {
namespace {

// A request to the shell as a program of the platform makes it.
SHELLEXECUTEINFOA Request(const char* file, const char* parameters = nullptr, const char* directory = nullptr,
                          ULONG mask = SEE_MASK_NOCLOSEPROCESS) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = SHELLEXECUTEINFOA_SIZE_32;
  info.fMask = mask;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.lpDirectory = directory;
  info.nShow = 1;
  return info;
}

std::intptr_t Instance(const SHELLEXECUTEINFOA& info) { return reinterpret_cast<std::intptr_t>(info.hInstApp); }

// A process's exit code, or nothing when GetExitCodeProcess fails.
std::optional<DWORD> ExitCode(HANDLE process) {
  DWORD code = 1234;
  if (!GetExitCodeProcess(process, &code)) return std::nullopt;
  return code;
}

// A program that runs until the test lets it go, then ends with code 5.
class HeldProgram {
 public:
  HeldProgram() : pipe("C:\\held-" + std::to_string(++made) + ".fifo") {
    EXPECT_TRUE(WriteScript("C:\\Tools\\held.sh", "read line < '" + pipe.HostPath() + "'\nexit 5"));
  }
  void Release() { EXPECT_TRUE(pipe.Write("go\n")); }

 private:
  static inline int made = 0;
  HeldPipe pipe;
};

class Process : public testing::Test {
 protected:
  RecordingLauncher recorder;
  std::vector<qm::shell::HostCommand>& launched = recorder.launched;
};


TEST_F(Process, AHostProgramThroughADriveGivesAProcessThatEndsWithItsCode) {
  ASSERT_TRUE(WriteScript("C:\\Tools\\three.sh", "exit 3"));
  for (const char* file : {"Z:\\bin\\true", "C:\\Tools\\three.sh", "c:\\tools\\THREE.SH"}) {
    SCOPED_TRACE(file);
    SHELLEXECUTEINFOA info = Request(file);
    ASSERT_TRUE(ShellExecuteExA(&info));
    EXPECT_GT(Instance(info), 32);
    ASSERT_NE(info.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(info.hProcess), std::string(file) == "Z:\\bin\\true" ? 0u : 3u);
    // An ended process stays signalled and keeps its code.
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(info.hProcess));
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(Process, ARunningProcessIsStillActiveAndItsWaitsTimeOut) {
  HeldProgram held;
  SHELLEXECUTEINFOA info = Request("C:\\Tools\\held.sh");
  ASSERT_TRUE(ShellExecuteExA(&info));
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 20), WAIT_TIMEOUT);
  EXPECT_EQ(ExitCode(info.hProcess), STILL_ACTIVE);
  held.Release();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCode(info.hProcess), 5u);
  CloseHandle(info.hProcess);
}

TEST_F(Process, AProgramNobodyWaitsForIsReapedAndItsHandleStillKnowsTheCode) {
  ASSERT_TRUE(WriteScript("C:\\Tools\\three.sh", "exit 3"));
  SHELLEXECUTEINFOA info = Request("C:\\Tools\\three.sh");
  ASSERT_TRUE(ShellExecuteExA(&info));
  const std::string folder = "/proc/" + std::to_string(GetProcessId(info.hProcess));
  // Gone from the host's table of processes, zombie included, while the
  // handle is still open and nobody has waited.
  EXPECT_TRUE(Eventually([&] { return !std::filesystem::exists(folder); })) << folder;
  EXPECT_EQ(ExitCode(info.hProcess), 3u);
  // Its id may name another process by now: the ended one is left alone.
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(SetPriorityClass(info.hProcess, IDLE_PRIORITY_CLASS));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  CloseHandle(info.hProcess);

  // Without a handle asked for, the same.
  HeldProgram held;
  info = Request("C:\\Tools\\held.sh", nullptr, nullptr, 0);
  const int before = OpenDescriptors();
  ASSERT_TRUE(ShellExecuteExA(&info));
  EXPECT_EQ(info.hProcess, nullptr);
  held.Release();
  EXPECT_TRUE(Eventually([&] { return OpenDescriptors() == before; })) << "the process's descriptor outlives it";
}

TEST_F(Process, WaitsAndQueriesOnHandlesThatAreNoProcessFail) {
  SHELLEXECUTEINFOA info = Request("Z:\\bin\\true");
  ASSERT_TRUE(ShellExecuteExA(&info));
  HANDLE closed = info.hProcess;
  ASSERT_TRUE(CloseHandle(closed));
  for (HANDLE handle : {static_cast<HANDLE>(nullptr), closed, reinterpret_cast<HANDLE>(0x7777)}) {
    SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(handle));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ExitCode(handle), std::nullopt);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetPriorityClass(handle), 0u);
    EXPECT_FALSE(CloseHandle(handle));
  }
  // The program's own process runs for as long as it waits.
  EXPECT_EQ(WaitForSingleObject(GetCurrentProcess(), 0), WAIT_TIMEOUT);
  EXPECT_EQ(ExitCode(GetCurrentProcess()), STILL_ACTIVE);
}

TEST_F(Process, WhatTheHostOpensGivesNoProcess) {
  std::filesystem::create_directories(HostPathOf("C:\\Notes"));
  std::ofstream(HostPathOf("C:\\Notes\\read me.txt")) << "notes";
  // Execute bits alone do not make a document a program.
  std::ofstream(HostPathOf("C:\\Notes\\marked.txt")) << "text";
  chmod(HostPathOf("C:\\Notes\\marked.txt").c_str(), 0755);
  // Nor does an interpreter line without them.
  std::ofstream(HostPathOf("C:\\Notes\\script.sh")) << "#!/bin/sh\nexit 3\n";
  struct Row {
    const char* file;
    const char* parameters;
    std::string opened;
  } rows[] = {
      {"C:\\Notes\\read me.txt", nullptr, HostPathOf("C:\\Notes\\read me.txt")},
      {"C:\\Notes\\marked.txt", nullptr, HostPathOf("C:\\Notes\\marked.txt")},
      {"C:\\Notes\\script.sh", nullptr, HostPathOf("C:\\Notes\\script.sh")},
      {"C:\\Windows\\notepad.exe", "C:\\Notes\\read me.txt", HostPathOf("C:\\Notes\\read me.txt")},
      {"https://quellmoor.example/", nullptr, "https://quellmoor.example/"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    launched.clear();
    SHELLEXECUTEINFOA info = Request(row.file, row.parameters);
    info.hProcess = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_TRUE(ShellExecuteExA(&info));
    EXPECT_GT(Instance(info), 32);
    EXPECT_EQ(info.hProcess, nullptr);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"xdg-open", row.opened}));
  }
}

TEST_F(Process, RequestsTheShellCannotCarryOutFailWithTheReason) {
  std::filesystem::create_directories(HostPathOf("C:\\Games\\Quellmoor\\bin"));
  std::ofstream(HostPathOf("C:\\Games\\Quellmoor\\bin\\start.exe")) << "MZ";
  ASSERT_TRUE(WriteScript("C:\\Tools\\lost.sh", ""));
  // An interpreter that is not there.
  std::ofstream(HostPathOf("C:\\Tools\\lost.sh")) << "#!/nonexistent/shell\n";
  struct Row {
    const char* file;
    const char* directory;
    std::intptr_t instance;
    DWORD error;
  } rows[] = {
      {"C:\\Games\\Quellmoor\\bin\\missing.exe", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"C:\\Games\\Quellmoor\\bin\\start.exe", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"C:\\Tools\\lost.sh", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"Z:\\bin\\true", "C:\\No Such Folder", SE_ERR_PNF, ERROR_DIRECTORY},
      {"", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    SHELLEXECUTEINFOA info = Request(row.file, nullptr, row.directory);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(ShellExecuteExA(&info));
    EXPECT_EQ(Instance(info), row.instance);
    EXPECT_EQ(GetLastError(), row.error);
    EXPECT_EQ(info.hProcess, nullptr);
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(Process, TheRecordIsTakenAtItsOwnSizeOnly) {
  for (DWORD size : {SHELLEXECUTEINFOA_SIZE_32, DWORD(sizeof(SHELLEXECUTEINFOA)), 0u, 56u, 64u}) {
    SCOPED_TRACE(size);
    SHELLEXECUTEINFOA info = Request("Z:\\bin\\true", nullptr, nullptr, 0);
    info.cbSize = size;
    SetLastError(ERROR_SUCCESS);
    const bool known = size == SHELLEXECUTEINFOA_SIZE_32 || size == sizeof info;
    EXPECT_EQ(ShellExecuteExA(&info), known ? TRUE : FALSE);
    EXPECT_EQ(GetLastError(), known ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER);
  }
  EXPECT_FALSE(ShellExecuteExA(nullptr));
}

}  // namespace
}  // namespace qm::test
