#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <utility>

#include "platform/kernel/host/Descriptor.h"
#include "support/TempDir.h"

using qm::kernel::host::Descriptor;

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
}
