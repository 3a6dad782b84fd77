#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "../KernelFiles.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "support/TempDir.h"

using namespace qm::test;
using qm::kernel::host::ReplacementFile;
using qm::kernel::host::WriteFileAtomically;

TEST(WriteFileAtomically, CreatesOrReplacesWithTheModeAndNothingBeside) {
  // `before` is null where there is no file yet.
  struct Row { const char* why; const char* before; unsigned mode; } rows[] = {
      {"new file", nullptr, 0644}, {"replaced file", "old and longer content", 0600}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    qm::test::TempDir dir;
    const std::string path = dir.Path() + "/user.reg";
    if (row.before) WriteHostFile(path, row.before);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0text", 8), row.mode));
    EXPECT_EQ(ReadHostFile(path), std::string("new\0text", 8));
    EXPECT_EQ(ModeOf(path), row.mode);
    EXPECT_EQ(HostEntries(dir.Path()), std::vector<std::string>{"user.reg"});
  }
}

// The file is made with its final bits where the creation mask leaves
// them whole; where the mask would narrow them they are still the ones
// asked for, and a read-only file is still written whole. The process
// reads its mask at its first write: the test runs in a process of its
// own whose mask is set before it writes anything.
TEST(ReplacementFile, EndsWithTheModeAskedForWhateverTheCreationMask) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        ::umask(027);
        bool ok = true;
        for (unsigned mode : {0640u, 0444u, 0666u, 0755u}) {
          qm::test::TempDir dir;
          const std::string path = dir.Path() + "/file.dat";
          ReplacementFile file;
          const bool written = file.Open(path, mode) && qm::kernel::host::WriteAll(file.File(), "contents") &&
                               file.SetMode(mode) &&
                               file.Commit(ReplacementFile::Install::Replace, ReplacementFile::Flush::Lazily);
          const unsigned made = written ? ModeOf(path) : 0;
          const bool whole = written && ReadHostFile(path) == "contents";
          std::fprintf(stderr, "mode %o: written %d, whole %d, made %o\n", mode, written, whole, made);
          ok = ok && whole && made == mode;
        }
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "mode 755: written 1, whole 1, made 755");
}

TEST(WriteFileAtomically, AWriteFailingHalfwayKeepsTheOldFileAndLeavesNothing) {
  qm::test::TempDir dir;
  const std::string path = dir.Path() + "/system.reg";
  WriteHostFile(path, "good old hive");
  signal(SIGXFSZ, SIG_IGN);
  // The host's error, or 0 when the write succeeded.
  int error = UnderFileSizeLimit(64 * 1024, [&] {
    return WriteFileAtomically(path, std::string(1 << 20, 'n')) ? 0 : errno;
  });
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadHostFile(path), "good old hive");
  EXPECT_EQ(HostEntries(dir.Path()), std::vector<std::string>{"system.reg"});
}

// The prefix's own files (the registry's stores, the links) are written
// with no bits of their own: a file the user keeps private or read-only
// keeps its bits, and one linked in from elsewhere is replaced where it is.
TEST(WriteFileAtomically, AFileThereKeepsItsBitsAndALinkIsWrittenThrough) {
  for (unsigned mode : {0600u, 0444u, 0640u, 0755u}) {
    SCOPED_TRACE(mode);
    qm::test::TempDir dir;
    const std::string path = dir.Path() + "/user.reg";
    WriteHostFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadHostFile(path), "new");
    EXPECT_EQ(ModeOf(path), mode);
  }
  qm::test::TempDir dir;
  WriteHostFile(dir.Path() + "/kept/real.reg", "old");
  ASSERT_EQ(::chmod((dir.Path() + "/kept/real.reg").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("kept/real.reg", (dir.Path() + "/user.reg").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir.Path() + "/user.reg", "new"));
  struct stat link {};
  ASSERT_EQ(::lstat((dir.Path() + "/user.reg").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_EQ(ReadHostFile(dir.Path() + "/kept/real.reg"), "new");
  EXPECT_EQ(ModeOf(dir.Path() + "/kept/real.reg"), 0600u);
  EXPECT_EQ(HostEntries(dir.Path() + "/kept"), std::vector<std::string>{"real.reg"});
}

TEST(WriteFileAtomically, IntoAMissingFolderFailsWithTheHostError) {
  qm::test::TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.Path() + "/missing/user.reg", "x"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_TRUE(HostEntries(dir.Path()).empty());
}

TEST(ReplacementFile, AnAbandonedFileLeavesTheTargetAndNoTrace) {
  qm::test::TempDir dir;
  const std::string path = dir.Path() + "/data.db";
  WriteHostFile(path, "good old data");
  {
    ReplacementFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(qm::kernel::host::WriteAll(file.File(), "half"));
  }
  EXPECT_EQ(ReadHostFile(path), "good old data");
  EXPECT_EQ(HostEntries(dir.Path()), std::vector<std::string>{"data.db"});
}

TEST(ReplacementFile, KeepExistingRefusesATakenNameAndTakesAFreeOne) {
  qm::test::TempDir dir;
  const std::string taken = dir.Path() + "/taken.db";
  WriteHostFile(taken, "first");
  std::pair<std::string, bool> rows[] = {{taken, false}, {dir.Path() + "/free.db", true}};
  for (const auto& [target, installs] : rows) {
    SCOPED_TRACE(target);
    ReplacementFile file;
    ASSERT_TRUE(file.Open(target));
    ASSERT_TRUE(qm::kernel::host::WriteAll(file.File(), "second"));
    errno = 0;
    EXPECT_EQ(file.Commit(ReplacementFile::Install::KeepExisting, ReplacementFile::Flush::Lazily), installs);
    if (!installs) {
      EXPECT_EQ(errno, EEXIST);
    }
  }
  EXPECT_EQ(ReadHostFile(taken), "first");
  EXPECT_EQ(ReadHostFile(dir.Path() + "/free.db"), "second");
  EXPECT_EQ(HostEntries(dir.Path()), (std::vector<std::string>{"free.db", "taken.db"}));
}

TEST(ReplacementFile, CarriesTheWriteTimeItIsGiven) {
  qm::test::TempDir dir;
  const std::string path = dir.Path() + "/dated.txt";
  ReplacementFile file;
  ASSERT_TRUE(file.Open(path));
  const std::timespec when{946684800, 123456700};  // 2000-01-01
  ASSERT_TRUE(file.SetWriteTime(when));
  ASSERT_TRUE(file.Commit(ReplacementFile::Install::Replace, ReplacementFile::Flush::ToDisk));
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, when.tv_sec);
  EXPECT_EQ(info.st_mtim.tv_nsec, when.tv_nsec);
}

TEST(ReplacementFile, TemporaryFilesOfWritersKilledBeforeTheirRenameSurvivedEveryLaterRun) {
  qm::test::TempDir dir;
  // A writer that has ended: its id names no running process.
  pid_t ended = fork();
  ASSERT_GE(ended, 0);
  if (ended == 0) _exit(0);
  ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
  const std::string endedId = std::to_string(ended);
  const std::string runningId = std::to_string(getppid());
  const std::vector<std::string> abandoned{".user.reg.~" + endedId + "-7.tmp", ".Setup.lnk.~" + endedId + "-1.tmp"};
  const std::vector<std::string> kept{
      ".user.reg.~" + runningId + "-2.tmp",  // its writer may still rename it
      ".keep",
      "plain.tmp",
      ".x.~12a-1.tmp",
      ".~" + endedId + "-1.tmp",
  };
  for (const std::string& name : abandoned) WriteHostFile(dir.Path() + "/" + name, "complete but abandoned");
  for (const std::string& name : kept) WriteHostFile(dir.Path() + "/" + name, "other");

  ASSERT_TRUE(WriteFileAtomically(dir.Path() + "/user.reg", "REGEDIT4\n"));

  std::vector<std::string> expected = kept;
  expected.push_back("user.reg");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(HostEntries(dir.Path()), expected);
}

TEST(ReplacementFile, TheWriterOfATemporaryNameIsReadFromItsSuffix) {
  std::pair<const char*, int> rows[] = {
      {".user.reg.~1234-5.tmp", 1234},
      {"..name.with.dots.~77-0.tmp", 77},
      {".a.~1-1.tmp", 1},
      {"user.reg.~1234-5.tmp", 0},   // not hidden
      {".user.reg.~1234.tmp", 0},    // no count
      {".user.reg.~-5.tmp", 0},      // no id
      {".user.reg.~12x4-5.tmp", 0},  // not a number
      {".user.reg.~1234-5.tmpx", 0},
      {".~1234-5.tmp", 0},  // no target name
      {".user.reg.~99999999999-1.tmp", 0},
  };
  for (const auto& [name, writer] : rows) EXPECT_EQ(qm::kernel::host::ReplacementWriter(name), writer) << name;
}
