#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shell/Privileges.h"
#include "platform/shell/Restart.h"
#include "support/CallFailure.h"

using qm::test::FailureOf;

namespace {

// Sets the privilege's state in this process's token through the token
// calls; the error they leave: ERROR_SUCCESS, or ERROR_NOT_ALL_ASSIGNED when
// the account does not hold the privilege.
DWORD AdjustPrivilege(const char* name, DWORD attributes) {
  HANDLE token = nullptr;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
  TOKEN_PRIVILEGES privileges{1, {{{0, 0}, attributes}}};
  EXPECT_TRUE(LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid));
  // A privilege that is not held still leaves the call successful.
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr));
  const DWORD error = GetLastError();
  CloseHandle(token);
  return error;
}

}  // namespace

TEST(Restart, AHeldPrivilegeAllowsARestartThatIsRecorded) {
  const int before = qm::shell::ReadPendingRestart().count;
  EXPECT_EQ(FailureOf(ExitWindowsEx(EWX_REBOOT, 0)), ERROR_PRIVILEGE_NOT_HELD);
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before);

  ASSERT_EQ(AdjustPrivilege(SE_SHUTDOWN_NAME, SE_PRIVILEGE_ENABLED), ERROR_SUCCESS);
  ASSERT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before + 1);
  EXPECT_EQ(qm::shell::ReadPendingRestart().action, "reboot");
  ASSERT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before + 2);
  EXPECT_EQ(qm::shell::ReadPendingRestart().action, "shutdown");

  ASSERT_EQ(AdjustPrivilege(SE_SHUTDOWN_NAME, 0), ERROR_SUCCESS);
  EXPECT_EQ(FailureOf(ExitWindowsEx(EWX_REBOOT, 0)), ERROR_PRIVILEGE_NOT_HELD);
}

TEST(Restart, APrivilegeNotHeldIsNotAllAssignedAndBlocksTheRestart) {
  ASSERT_TRUE(qm::shell::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false));
  const int before = qm::shell::ReadPendingRestart().count;
  EXPECT_EQ(AdjustPrivilege(SE_SHUTDOWN_NAME, SE_PRIVILEGE_ENABLED), ERROR_NOT_ALL_ASSIGNED);
  EXPECT_EQ(FailureOf(ExitWindowsEx(EWX_REBOOT, 0)), ERROR_PRIVILEGE_NOT_HELD);
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before);

  // Other privileges are still held.
  EXPECT_EQ(AdjustPrivilege("SeBackupPrivilege", SE_PRIVILEGE_ENABLED), ERROR_SUCCESS);
  ASSERT_TRUE(qm::shell::SetPrivilegeHeld(SE_SHUTDOWN_NAME, true));
  EXPECT_EQ(AdjustPrivilege(SE_SHUTDOWN_NAME, SE_PRIVILEGE_ENABLED), ERROR_SUCCESS);
  EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  AdjustPrivilege(SE_SHUTDOWN_NAME, 0);
}

TEST(Restart, TokensFollowTheirAccessAndNames) {
  LUID luid;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(FailureOf(LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid)), ERROR_NO_SUCH_PRIVILEGE);
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "seshutdownprivilege", &luid));
  EXPECT_EQ(luid.LowPart, 19u);

  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  TOKEN_PRIVILEGES privileges{1, {{luid, SE_PRIVILEGE_ENABLED}}};
  auto adjust = [&] { return AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr); };
  EXPECT_EQ(FailureOf(adjust()), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(CloseHandle(token));
  EXPECT_EQ(FailureOf(adjust()), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(OpenProcessToken(reinterpret_cast<HANDLE>(0x1234), TOKEN_ADJUST_PRIVILEGES, &token));

  // Handles share the one process token: enabling through one is seen by
  // the restart, and the previous state is reported.
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, sizeof previous, &previous, &length));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(previous.PrivilegeCount, 1u);
  EXPECT_EQ(previous.Privileges[0].Attributes, 0u);
  EXPECT_TRUE(qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME));
  ASSERT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
  EXPECT_FALSE(qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME));
  CloseHandle(token);
}

TEST(Restart, LoggingOffNeedsNoPrivilege) {
  const int before = qm::shell::ReadPendingRestart().count;
  EXPECT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0));
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before + 1);
  EXPECT_EQ(qm::shell::ReadPendingRestart().action, "logoff");
  EXPECT_EQ(FailureOf(ExitWindowsEx(0x40, 0)), ERROR_INVALID_PARAMETER);
}

// Requests from two processes at once are each counted.
TEST(Restart, RequestsOfTwoProcessesAtOnceAreAllCounted) {
  constexpr int PerProcess = 50;
  const int before = qm::shell::ReadPendingRestart().count;
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool all = true;
      for (int i = 0; i < PerProcess; ++i) all = ExitWindowsEx(EWX_LOGOFF, 0) && all;
      _exit(all ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, before + 2 * PerProcess);
}

// The record is a text file anyone may edit: whatever count it holds, the
// next request leaves a count from 0 to the largest int, never a negative
// one made by overflow.
TEST(Restart, ARecordedCountOfAnySizeIsReadWithinRangeAndNeverWraps) {
  struct Row {
    const char* recorded;
    int read;
    int after;
  };
  const std::vector<Row> rows{
      {"count=7\naction=reboot\n", 7, 8},
      {"count=2147483646\n", 2147483646, 2147483647},
      {"count=2147483647\n", 2147483647, 2147483647},
      {"count=99999999999999999999999\n", 2147483647, 2147483647},
      {"count=-5\n", 0, 1},
      {"count=-99999999999999999999999\n", 0, 1},
      {"count=many\n", 0, 1},
      {"count=\n", 0, 1},
  };
  const std::string record = qm::kernel::PrefixRoot() + "/restart-pending";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.recorded);
    std::ofstream(record, std::ios::trunc) << row.recorded;
    EXPECT_EQ(qm::shell::ReadPendingRestart().count, row.read);
    ASSERT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0));
    EXPECT_EQ(qm::shell::ReadPendingRestart().count, row.after);
    EXPECT_EQ(qm::shell::ReadPendingRestart().action, "logoff");
  }
}
