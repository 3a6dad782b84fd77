#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "platform/kernel/host/Retry.h"

using qm::kernel::host::RetryOnSignal;

TEST(RetryOnSignal, RepeatsOnlyCallsThatASignalInterrupted) {
  struct Row {
    const char* why;
    std::vector<int> errnos;  // what each call fails with; 0: it succeeds
    int expectedCalls;
    long expectedResult;
    int expectedErrno;
  } rows[] = {
      {"succeeds at once", {0}, 1, 7, 0},
      {"interrupted twice, then succeeds", {EINTR, EINTR, 0}, 3, 7, 0},
      {"another failure is answered at once", {EIO, 0}, 1, -1, EIO},
      {"interrupted, then another failure", {EINTR, ENOSPC, 0}, 2, -1, ENOSPC},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    int calls = 0;
    errno = 0;
    long result = RetryOnSignal([&]() -> long {
      int error = row.errnos[static_cast<size_t>(calls++)];
      if (error == 0) return 7;
      errno = error;
      return -1;
    });
    EXPECT_EQ(calls, row.expectedCalls);
    EXPECT_EQ(result, row.expectedResult);
    if (row.expectedErrno) {
      EXPECT_EQ(errno, row.expectedErrno);
    }
  }
}

TEST(RetryOnSignal, ANegativeResultOtherThanMinusOneIsNoFailure) {
  int calls = 0;
  errno = EINTR;
  EXPECT_EQ(RetryOnSignal([&] {
              ++calls;
              return -2;
            }),
            -2);
  EXPECT_EQ(calls, 1);
}
