#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "platform/kernel/LastError.h"

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seenByOtherThread = 12345;
  std::thread([&] { seenByOtherThread = GetLastError(); }).join();
  EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(LastError, HostErrorsBecomeWindowsCodes) {
  std::pair<int, DWORD> rows[] = {{ENOENT, ERROR_FILE_NOT_FOUND}, {ENOTDIR, ERROR_PATH_NOT_FOUND},
                                  {EACCES, ERROR_ACCESS_DENIED},  {ENOSPC, ERROR_DISK_FULL},
                                  {EEXIST, ERROR_ALREADY_EXISTS}, {ENOTEMPTY, ERROR_DIR_NOT_EMPTY}};
  for (const auto& [host, windows] : rows) {
    SCOPED_TRACE(host);
    EXPECT_EQ(qm::kernel::SetLastErrorFromErrno(host), windows);
    EXPECT_EQ(GetLastError(), windows);
  }
}
