#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "install/startup/SingleInstance.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

// A host program copied under a chosen name and kept running until the end
// of the scope; it stands for an installer that is already running.
class RunningCopy {
 public:
  RunningCopy(const std::string& folder, const std::string& name) : path(folder + "/" + name) {
    std::filesystem::copy_file("/bin/sleep", path, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::vector<char*> argv{const_cast<char*>(name.c_str()), const_cast<char*>("600"), nullptr};
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid = -1;
  }
  ~RunningCopy() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  bool Started() const { return pid > 0; }

 private:
  std::string path;
  pid_t pid = -1;
};

// Names unique to this test process, short enough for any process table.
std::string UniqueName(const char* stem) { return stem + std::to_string(getpid()); }

class SingleInstanceTest : public testing::Test {
 protected:
  void TearDown() override { qm::kernel::SetModuleFileNameOverride(""); }
  qm::test::TempDir first{"qm-first"};
  qm::test::TempDir second{"qm-second"};
};

TEST_F(SingleInstanceTest, CopyOfTheSameNameFromAnotherFolderIsDetected) {
  // This test process is the installer that starts second; the running copy
  // carries its file name from another folder.
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  RunningCopy running(first.Path(), self);
  ASSERT_TRUE(running.Started());
  qm::kernel::SetModuleFileNameOverride(qm::kernel::HostToWindowsPath(second.Path() + "/" + self));
  EXPECT_TRUE(IsInstallerRunning());
}

TEST_F(SingleInstanceTest, OneProcessOfTheNameIsNotASecondInstance) {
  const std::string name = UniqueName("qmi");
  RunningCopy running(first.Path(), name);
  ASSERT_TRUE(running.Started());
  qm::kernel::SetModuleFileNameOverride(qm::kernel::HostToWindowsPath(first.Path() + "/" + name));
  EXPECT_FALSE(IsInstallerRunning());
}

TEST_F(SingleInstanceTest, CopiesUnderOtherNamesOrLetterCaseAreNotDetected) {
  const std::string name = UniqueName("qmi");
  const std::string upper = UniqueName("QMI");
  const std::string other = UniqueName("qmo");
  RunningCopy a(first.Path(), upper);
  RunningCopy b(second.Path(), upper);
  RunningCopy c(first.Path(), other);
  RunningCopy d(second.Path(), other);
  ASSERT_TRUE(a.Started() && b.Started() && c.Started() && d.Started());
  qm::kernel::SetModuleFileNameOverride(qm::kernel::HostToWindowsPath(first.Path() + "/" + name));
  EXPECT_FALSE(IsInstallerRunning());
}

}  // namespace
