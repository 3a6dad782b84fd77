#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/Thread.h"
#include "support/HostProbes.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// The host queues a change before the call that made it returns, so a wait
// of 0 ms tells whether it counted.
bool Signalled(HANDLE change) { return WaitForSingleObject(change, 0) == WAIT_OBJECT_0; }

class ChangeNotification : public testing::Test {
 protected:
  void SetUp() override {
    root = HostPathOf("C:\\Watched");
    fs::create_directories(root + "/sub");
    std::ofstream(root + "/sub/old.txt") << "old";
  }
  void TearDown() override {
    for (HANDLE handle : opened) FindCloseChangeNotification(handle);
  }
  HANDLE Watch(DWORD filter, BOOL subtree = TRUE) {
    HANDLE change = FindFirstChangeNotificationA("C:\\Watched", subtree, filter);
    EXPECT_NE(change, INVALID_HANDLE_VALUE);
    opened.push_back(change);
    return change;
  }
  void Make(const std::string& relative) { std::ofstream(root + "/" + relative) << "x"; }

  std::string root;
  std::vector<HANDLE> opened;
};

void MakeFile(const std::string& root) { std::ofstream(root + "/new.txt"); }
void MakeFolder(const std::string& root) { fs::create_directory(root + "/new"); }
void RemoveFile(const std::string& root) { fs::remove(root + "/sub/old.txt"); }
void RenameFile(const std::string& root) { fs::rename(root + "/sub/old.txt", root + "/sub/new.txt"); }
void Append(const std::string& root) { std::ofstream(root + "/sub/old.txt", std::ios::app) << "more"; }
void MakeReadOnly(const std::string& root) { chmod((root + "/sub/old.txt").c_str(), 0444); }

TEST_F(ChangeNotification, EachFilterCountsItsOwnKindOfChange) {
  struct Row {
    const char* what;
    DWORD filter;
    void (*change)(const std::string& root);
    bool counts;
  } rows[] = {
      {"file made, file names", FILE_NOTIFY_CHANGE_FILE_NAME, MakeFile, true},
      {"file made, folder names", FILE_NOTIFY_CHANGE_DIR_NAME, MakeFile, false},
      {"folder made, folder names", FILE_NOTIFY_CHANGE_DIR_NAME, MakeFolder, true},
      {"folder made, file names", FILE_NOTIFY_CHANGE_FILE_NAME, MakeFolder, false},
      {"file removed", FILE_NOTIFY_CHANGE_FILE_NAME, RemoveFile, true},
      {"file renamed", FILE_NOTIFY_CHANGE_FILE_NAME, RenameFile, true},
      {"written, last write", FILE_NOTIFY_CHANGE_LAST_WRITE, Append, true},
      {"written, size", FILE_NOTIFY_CHANGE_SIZE, Append, true},
      {"written, attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, Append, false},
      {"made read-only, attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, MakeReadOnly, true},
      {"made read-only, file names", FILE_NOTIFY_CHANGE_FILE_NAME, MakeReadOnly, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove_all(root);
    SetUp();
    HANDLE change = Watch(row.filter);
    EXPECT_FALSE(Signalled(change)) << "nothing has happened yet";
    row.change(root);
    EXPECT_EQ(Signalled(change), row.counts);
  }
}

TEST_F(ChangeNotification, ASubtreeWatchSeesFoldersMadeWhileItRuns) {
  HANDLE change = Watch(FILE_NOTIFY_CHANGE_FILE_NAME);
  fs::create_directories(root + "/made/later");
  EXPECT_FALSE(Signalled(change)) << "folders are no file names";
  Make("made/later/file.txt");
  EXPECT_TRUE(Signalled(change));

  // A file made in a new folder before the watch has taken the folder in
  // counts all the same.
  ASSERT_TRUE(FindNextChangeNotification(change));
  fs::create_directories(root + "/quick/deeper");
  Make("quick/deeper/file.txt");
  EXPECT_TRUE(Signalled(change));
}

TEST_F(ChangeNotification, WithoutTheSubtreeOnlyTheFolderItselfCounts) {
  HANDLE change = Watch(FILE_NOTIFY_CHANGE_FILE_NAME, FALSE);
  Make("sub/inner.txt");
  EXPECT_FALSE(Signalled(change));
  Make("top.txt");
  EXPECT_TRUE(Signalled(change));
}

TEST_F(ChangeNotification, AFolderMovedOutOfTheTreeIsNoLongerWatched) {
  HANDLE change = Watch(FILE_NOTIFY_CHANGE_FILE_NAME);
  const std::string outside = HostPathOf("C:\\Outside");
  fs::rename(root + "/sub", outside);
  EXPECT_FALSE(Signalled(change)) << "a folder moving is no file name";
  std::ofstream(outside + "/away.txt") << "x";
  EXPECT_FALSE(Signalled(change));
  fs::rename(outside, root + "/back");
  std::ofstream(root + "/back/home.txt") << "x";
  EXPECT_TRUE(Signalled(change));
}

TEST_F(ChangeNotification, ManyChangesBeforeTheRearmGiveOneWakeUp) {
  HANDLE change = Watch(FILE_NOTIFY_CHANGE_FILE_NAME);
  for (int i = 0; i < 10; ++i) Make("sub/file" + std::to_string(i) + ".txt");
  EXPECT_EQ(WaitForSingleObject(change, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(Signalled(change)) << "signalled until re-armed";
  Make("sub/before-rearm.txt");
  ASSERT_TRUE(FindNextChangeNotification(change));
  EXPECT_FALSE(Signalled(change));
  EXPECT_EQ(WaitForSingleObject(change, 20), WAIT_TIMEOUT);
  Make("sub/after-rearm.txt");
  EXPECT_TRUE(Signalled(change));
}

TEST_F(ChangeNotification, AThreadWaitingForAChangeEndsWhenAskedTo) {
  struct Waiter {
    HANDLE change;
    DWORD result = 0;
  } waiter{Watch(FILE_NOTIFY_CHANGE_FILE_NAME)};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID raw) -> DWORD {
        auto* w = static_cast<Waiter*>(raw);
        w->result = WaitForSingleObject(w->change, INFINITE);
        return 1;
      },
      &waiter, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
  EXPECT_TRUE(TerminateThread(thread, 0));
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(waiter.result, WAIT_FAILED);
  // The change handle is as it was, for the next thread to wait on.
  Make("new.txt");
  EXPECT_TRUE(Signalled(waiter.change));
  CloseHandle(thread);
}

TEST_F(ChangeNotification, PathsAndFiltersItCannotWatchFail) {
  std::ofstream(root + "/file.txt") << "x";
  struct Row {
    const char* path;
    DWORD filter;
    DWORD error;
  } rows[] = {
      {"C:\\Missing", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\Deeper", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_PATH_NOT_FOUND},
      {"C:\\Watched\\file.txt", FILE_NOTIFY_CHANGE_FILE_NAME, ERROR_DIRECTORY},
      {"C:\\Watched", 0, ERROR_INVALID_PARAMETER},
      {"C:\\Watched", 0x80, ERROR_INVALID_PARAMETER},
  };
  const int descriptors = OpenDescriptors();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindFirstChangeNotificationA(row.path, TRUE, row.filter), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), row.error);
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
  for (HANDLE handle : {static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(0x7777)}) {
    EXPECT_FALSE(FindNextChangeNotification(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindCloseChangeNotification(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
}

}  // namespace
}  // namespace qm::test
