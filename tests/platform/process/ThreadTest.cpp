#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <optional>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Thread.h"
#include "support/HostProbes.h"

namespace qm::test {
namespace {

std::string TaskFolder(DWORD threadId) { return "/proc/self/task/" + std::to_string(threadId); }

// A thread's exit code, or nothing when GetExitCodeThread fails.
std::optional<DWORD> ExitCode(HANDLE thread) {
  DWORD code = 1234;
  if (!GetExitCodeThread(thread, &code)) return std::nullopt;
  return code;
}

// Waits for its own process, which never ends: only a request to end the
// thread gets it out, and then every later wait fails at once too.
DWORD WaitUntilAskedToEnd(LPVOID parameter) {
  auto* errors = static_cast<std::vector<DWORD>*>(parameter);
  for (int round = 0; round < 2; ++round) {
    if (WaitForSingleObject(GetCurrentProcess(), INFINITE) != WAIT_FAILED) return 100;
    errors->push_back(GetLastError());
  }
  return 7;
}

TEST(Thread, RunsTheRoutineWithItsParameterAndEndsWithItsResult) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  struct Parameter {
    std::shared_future<void> released;
    int seen = 0;
  } parameter{released};
  DWORD id = 0;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID raw) -> DWORD {
        auto* p = static_cast<Parameter*>(raw);
        p->released.wait();
        p->seen = 42;
        return 9;
      },
      &parameter, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(std::filesystem::exists(TaskFolder(id))) << "the id is the host's";
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
  EXPECT_EQ(ExitCode(thread), STILL_ACTIVE);

  release.set_value();
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCode(thread), 9u);
  EXPECT_EQ(parameter.seen, 42);
  EXPECT_TRUE(Eventually([&] { return !std::filesystem::exists(TaskFolder(id)); }));
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(thread));
}

TEST(Thread, TerminateEndsAWaitingThreadWithTheCodeGiven) {
  std::vector<DWORD> errors;
  StartRuntimeHelpers();
  const int threadsBefore = Threads();
  const int descriptorsBefore = OpenDescriptorsBesideChildren();
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, WaitUntilAskedToEnd, &errors, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);

  EXPECT_TRUE(TerminateThread(thread, 0));
  ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCode(thread), 0u) << "the routine returned 7, the code asked for is 0";
  EXPECT_EQ(errors, (std::vector<DWORD>{ERROR_OPERATION_ABORTED, ERROR_OPERATION_ABORTED}));
  // An ended thread keeps its code.
  EXPECT_TRUE(TerminateThread(thread, 5));
  EXPECT_EQ(ExitCode(thread), 0u);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_TRUE(Eventually([&] { return Threads() == threadsBefore; }));
  EXPECT_EQ(OpenDescriptorsBesideChildren(), descriptorsBefore);
}

TEST(Thread, CallsWithWhatTheyCannotTakeFail) {
  auto routine = [](LPVOID) -> DWORD { return 0; };
  constexpr DWORD CREATE_SUSPENDED = 0x4;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(CreateThread(nullptr, 0, routine, nullptr, CREATE_SUSPENDED, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);

  qm::kernel::SetThreadCreationRefused(true);
  EXPECT_EQ(CreateThread(nullptr, 0, routine, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  qm::kernel::SetThreadCreationRefused(false);

  HANDLE notAThread = reinterpret_cast<HANDLE>(0x7777);
  EXPECT_EQ(ExitCode(notAThread), std::nullopt);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(TerminateThread(notAThread, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace qm::test
