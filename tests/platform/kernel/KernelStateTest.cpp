// The kernel's own state: the handle table, and the last error of each thread.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <thread>
#include <vector>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"

using namespace qm::kernel;

namespace {

struct Counted : KernelObject {
  explicit Counted(int* alive) : alive(alive) { ++*alive; }
  ~Counted() override { --*alive; }
  int* alive;
};

struct Other : KernelObject {};

}  // namespace

TEST(HandleTable, GivesEachObjectAHandleOfItsOwnAcrossThreads) {
  std::vector<std::vector<HANDLE>> perThread(4);
  std::vector<std::thread> threads;
  for (auto& handles : perThread)
    threads.emplace_back([&handles] {
      for (int i = 0; i < 500; ++i) {
        HANDLE handle = InsertHandle(std::make_unique<Other>());
        handles.push_back(handle);
        // Closing as others insert must not disturb their handles.
        if (i % 2) {
          EXPECT_TRUE(CloseObject(handle));
        }
      }
    });
  for (std::thread& thread : threads) thread.join();
  // Handles are never reused, closed ones included.
  std::set<HANDLE> distinct;
  for (const auto& handles : perThread) distinct.insert(handles.begin(), handles.end());
  EXPECT_EQ(distinct.size(), 2000u);
  EXPECT_EQ(distinct.count(nullptr), 0u);
  EXPECT_EQ(distinct.count(INVALID_HANDLE_VALUE), 0u);
}

TEST(HandleTable, ClosingDestroysTheObject) {
  int alive = 0;
  HANDLE handle = InsertHandle(std::make_unique<Counted>(&alive));
  EXPECT_EQ(LookupHandle<Other>(handle), nullptr);
  EXPECT_TRUE(CloseObject(handle));
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(LookupObject(handle), nullptr);
}

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
