#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/kernel/host/Spawn.h"
#include "support/TempDir.h"

using qm::kernel::host::SpawnDetached;

TEST(SpawnDetached, ReportsWhyAProgramCouldNotRun) {
  qm::test::TempDir dir;
  const std::string notExecutable = dir.Path() + "/notes.txt";
  std::ofstream(notExecutable) << "text";
  chmod(notExecutable.c_str(), 0644);
  std::tuple<const char*, std::vector<std::string>, int> rows[] = {
      {"no such program", {dir.Path() + "/missing-program"}, ENOENT},
      {"not executable", {notExecutable}, EACCES},
      {"nothing to run", {}, EINVAL},
  };
  for (const auto& [why, argv, error] : rows) {
    SCOPED_TRACE(why);
    errno = 0;
    EXPECT_FALSE(SpawnDetached(argv));
    EXPECT_EQ(errno, error);
  }
}

// The program must survive the installer's end and never take its terminal:
// a session of its own that it does not lead, a parent that is not us, and
// no standard stream of ours.
TEST(SpawnDetached, StartsTheProgramInASessionOfItsOwn) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string out = "/proc/$$/fd/" + std::to_string(ends[1]);
  const std::string script =
      "{ cat /proc/$$/stat; readlink /proc/$$/fd/0; readlink /proc/$$/fd/2; } > " + out;
  ASSERT_TRUE(SpawnDetached({"/bin/sh", "-c", script}));
  close(ends[1]);
  std::string report;
  char buffer[512];
  ssize_t got;
  while ((got = read(ends[0], buffer, sizeof buffer)) > 0) report.append(buffer, static_cast<size_t>(got));
  close(ends[0]);

  std::istringstream lines(report);
  std::string stat, standardIn, standardError;
  std::getline(lines, stat);
  std::getline(lines, standardIn);
  std::getline(lines, standardError);
  size_t close = stat.rfind(')');
  ASSERT_NE(close, std::string::npos) << report;
  long pid = std::stol(stat);
  std::istringstream fields(stat.substr(close + 1));
  std::string state;
  long parent = 0, group = 0, session = 0;
  fields >> state >> parent >> group >> session;
  EXPECT_NE(session, static_cast<long>(getsid(0)));
  EXPECT_NE(session, pid);
  EXPECT_NE(parent, static_cast<long>(getpid()));
  EXPECT_EQ(standardIn, "/dev/null");
  EXPECT_EQ(standardError, "/dev/null");
}
