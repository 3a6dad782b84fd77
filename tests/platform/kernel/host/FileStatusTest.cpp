#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileLock.h"
#include "platform/kernel/host/FileStatus.h"
#include "platform/kernel/host/Retry.h"
#include "support/TempDir.h"

namespace host = qm::kernel::host;
using qm::kernel::host::Descriptor;
using qm::kernel::host::RetryOnSignal;

TEST(FileStatus, ALinkIsFollowedOnlyWhenAsked) {
  qm::test::TempDir dir;
  std::ofstream(dir.Path() + "/target") << "12345";
  std::filesystem::create_symlink("target", dir.Path() + "/link");
  std::filesystem::create_symlink("gone", dir.Path() + "/dangling");

  host::FileStatus followed, itself;
  ASSERT_TRUE(host::StatPath(dir.Path() + "/link", &followed));
  EXPECT_FALSE(followed.isSymbolicLink);
  EXPECT_EQ(followed.size, 5u);
  ASSERT_TRUE(host::StatLink(dir.Path() + "/link", &itself));
  EXPECT_TRUE(itself.isSymbolicLink);
  EXPECT_NE(itself.inode, followed.inode);

  EXPECT_FALSE(host::StatPath(dir.Path() + "/dangling", &followed));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_TRUE(host::StatLink(dir.Path() + "/dangling", &itself));
  std::string target;
  ASSERT_TRUE(host::ReadLinkTarget(dir.Path() + "/dangling", &target));
  EXPECT_EQ(target, "gone");
}

TEST(FileStatus, AnOpenFileIsTheEntryItWasOpenedAs) {
  qm::test::TempDir dir;
  std::ofstream(dir.Path() + "/data") << "abc";
  host::Descriptor file = host::OpenForReading(dir.Path() + "/data");
  ASSERT_TRUE(file);
  host::FileStatus byPath, byDescriptor;
  ASSERT_TRUE(host::StatPath(dir.Path() + "/data", &byPath));
  ASSERT_TRUE(host::StatDescriptor(file, &byDescriptor));
  EXPECT_EQ(byDescriptor.device, byPath.device);
  EXPECT_EQ(byDescriptor.inode, byPath.inode);
  EXPECT_EQ(byDescriptor.writeTime.tv_nsec, byPath.writeTime.tv_nsec);
}

TEST(FreeSpace, NeverReportsMoreAvailableThanTheWhole) {
  host::FreeSpace space;
  ASSERT_TRUE(host::QueryFreeSpace("/", &space));
  EXPECT_GT(space.blockBytes, 0u);
  EXPECT_LE(space.availableBlocks, space.totalBlocks);
  EXPECT_FALSE(host::QueryFreeSpace("/nonexistent-quellmoor-folder", &space));
  EXPECT_EQ(errno, ENOENT);
}

TEST(ListFolder, LeavesOutTheFolderAndItsParent) {
  qm::test::TempDir dir;
  std::ofstream(dir.Path() + "/.hidden") << "";
  std::filesystem::create_directories(dir.Path() + "/sub");
  std::vector<std::string> names;
  ASSERT_TRUE(host::ListFolder(dir.Path(), &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "sub"}));
  EXPECT_FALSE(host::ListFolder(dir.Path() + "/.hidden", &names));
  EXPECT_EQ(errno, ENOTDIR);
}

// Registry writers in two processes must never both hold the store.
TEST(FileLock, ExcludesEveryOtherHolderUntilItEnds) {
  qm::test::TempDir dir;
  const std::string path = dir.Path() + "/user.reg.lock";
  int other = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(other, 0);
  {
    host::FileLock lock;
    ASSERT_TRUE(lock.Acquire(path));
    EXPECT_TRUE(lock.IsHeld());
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(errno, EWOULDBLOCK);
  }
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  close(other);

  host::FileLock nowhere;
  EXPECT_FALSE(nowhere.Acquire(dir.Path() + "/missing/user.reg.lock"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(nowhere.IsHeld());
}

namespace {

bool IsOpenHere(int fd) { return fcntl(fd, F_GETFD) != -1; }

int OpenDevNull() { return open("/dev/null", O_RDONLY | O_CLOEXEC); }

}  // namespace

TEST(Descriptor, ClosesOnceWhateverHappensToIt) {
  int fd = OpenDevNull();
  ASSERT_GE(fd, 0);
  {
    Descriptor first(fd);
    Descriptor second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(second.Get(), fd);
    Descriptor third;
    third = std::move(second);
    EXPECT_TRUE(IsOpenHere(fd));
  }
  EXPECT_FALSE(IsOpenHere(fd));
}

// A second close of a number the host has given out again would close a
// stranger's file.
TEST(Descriptor, AnExplicitCloseIsNotRepeatedByTheDestructor) {
  int fd = OpenDevNull();
  ASSERT_GE(fd, 0);
  {
    Descriptor file(fd);
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());
    int reused = OpenDevNull();
    ASSERT_EQ(reused, fd);  // the lowest free number comes back
  }
  EXPECT_TRUE(IsOpenHere(fd));
  close(fd);
}

TEST(Descriptor, MoveAssignmentClosesWhatItReplaces) {
  int a = OpenDevNull(), b = OpenDevNull();
  Descriptor target(a);
  target = Descriptor(b);
  EXPECT_FALSE(IsOpenHere(a));
  EXPECT_EQ(target.Get(), b);
  EXPECT_EQ(target.Release(), b);
  EXPECT_FALSE(target.IsOpen());
  close(b);
}

TEST(Descriptor, CleaningUpKeepsTheErrnoOfTheFailureBeingReported) {
  Descriptor file(OpenDevNull());
  errno = ENOSPC;
  file.Reset();
  EXPECT_EQ(errno, ENOSPC);
}

TEST(ReadWholeFile, ReadsEveryByteOrReportsTheHostError) {
  qm::test::TempDir dir;
  std::string content(100000, 'x');
  content[0] = '\0';
  content.back() = 'y';
  std::ofstream(dir.Path() + "/data", std::ios::binary) << content;
  std::string read = "stale";
  ASSERT_TRUE(qm::kernel::host::ReadWholeFile(dir.Path() + "/data", &read));
  EXPECT_EQ(read, content);
  EXPECT_FALSE(qm::kernel::host::ReadWholeFile(dir.Path() + "/missing", &read));
  EXPECT_EQ(errno, ENOENT);
  // Only a file has an end: a FIFO or a device under a file's name is
  // refused at once (the alarm ends the program should either hold it up).
  ASSERT_EQ(mkfifo((dir.Path() + "/pipe").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.Path() + "/zero");
  for (const char* name : {"/pipe", "/zero"}) {
    SCOPED_TRACE(name);
    alarm(10);
    EXPECT_FALSE(qm::kernel::host::ReadWholeFile(dir.Path() + name, &read));
    EXPECT_EQ(errno, EACCES);
    alarm(0);
  }
}

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
