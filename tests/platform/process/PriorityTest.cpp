#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Process.h"
#include "support/HostProbes.h"

namespace qm::test {
namespace {

using qm::kernel::PriorityClassOfNice;

struct ClassRow {
  const char* name;
  DWORD priorityClass;
  int nice;
};

constexpr ClassRow kClasses[] = {
    {"realtime", REALTIME_PRIORITY_CLASS, -20}, {"high", HIGH_PRIORITY_CLASS, -10},
    {"above normal", ABOVE_NORMAL_PRIORITY_CLASS, -5}, {"normal", NORMAL_PRIORITY_CLASS, 0},
    {"below normal", BELOW_NORMAL_PRIORITY_CLASS, 10}, {"idle", IDLE_PRIORITY_CLASS, 19},
};

int OwnNice() { return NiceOfProcess(getpid()).value_or(99); }

TEST(PriorityClass, EachClassIsAHostNiceValueAndReadsBackAsItself) {
  if (!MayRaisePriority()) GTEST_SKIP() << "the host does not let this user raise priorities";
  // From the highest priority down; every step lowers it.
  for (const ClassRow& row : kClasses) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), row.priorityClass));
    EXPECT_EQ(OwnNice(), row.nice);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), row.priorityClass);
  }
  EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS));
}

TEST(PriorityClass, ANiceValueSetOutsideReadsAsTheNearestClass) {
  struct Row {
    int nice;
    DWORD priorityClass;
  } rows[] = {
      {19, IDLE_PRIORITY_CLASS},   {15, IDLE_PRIORITY_CLASS},         {14, BELOW_NORMAL_PRIORITY_CLASS},
      {5, BELOW_NORMAL_PRIORITY_CLASS}, {4, NORMAL_PRIORITY_CLASS},   {-2, NORMAL_PRIORITY_CLASS},
      {-3, ABOVE_NORMAL_PRIORITY_CLASS}, {-7, ABOVE_NORMAL_PRIORITY_CLASS}, {-8, HIGH_PRIORITY_CLASS},
      {-15, HIGH_PRIORITY_CLASS},  {-16, REALTIME_PRIORITY_CLASS},    {-20, REALTIME_PRIORITY_CLASS},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.nice);
    EXPECT_EQ(PriorityClassOfNice(row.nice), row.priorityClass);
  }
}

TEST(PriorityClass, AValueThatIsNoClassChangesNothing) {
  const int before = OwnNice();
  for (DWORD value : {0u, 0x10u, 0x20000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(value);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SetPriorityClass(GetCurrentProcess(), value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(OwnNice(), before);
}

// The host keeps a nice value per thread; the class is the whole process's.
TEST(PriorityClass, TheClassReachesEveryThreadOfTheProcess) {
  std::promise<int> started;
  std::promise<void> release;
  std::thread other([&] {
    started.set_value(static_cast<int>(gettid()));
    release.get_future().wait();
  });
  const int tid = started.get_future().get();
  EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(NiceIn("/proc/self/task/" + std::to_string(tid) + "/stat"), 10);
  release.set_value();
  other.join();
  EXPECT_EQ(OwnNice(), 10);
}

// As an unprivileged user: lowering is allowed, raising is not, not even
// back to where the process was. Run in a child that gives up the
// permission, so that it does not depend on who runs the tests.
TEST(PriorityClass, RaisingWithoutThePermissionFailsAndTheClassStaysAsItWas) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        if (!GiveUpRaisingPriority()) {
          std::fprintf(stderr, "cannot give up the permission\n");
          std::exit(1);
        }
        bool lowered = SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS);
        SetLastError(ERROR_SUCCESS);
        bool raised = SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
        DWORD raiseError = GetLastError();
        bool restored = SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
        DWORD restoreError = GetLastError();
        DWORD now = GetPriorityClass(GetCurrentProcess());
        std::fprintf(stderr, "lowered %d raised %d (%u) restored %d (%u) class %#x nice %d\n", lowered, raised,
                     raiseError, restored, restoreError, now, OwnNice());
        bool ok = lowered && !raised && raiseError == ERROR_ACCESS_DENIED && !restored &&
                  restoreError == ERROR_ACCESS_DENIED && now == BELOW_NORMAL_PRIORITY_CLASS && OwnNice() == 10;
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "lowered 1 raised 0 \\(5\\) restored 0 \\(5\\) class 0x4000 nice 10");
}

}  // namespace
}  // namespace qm::test
