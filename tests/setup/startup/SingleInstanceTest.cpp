#include <gtest/gtest.h>

#include <filesystem>

#include "install/startup/SingleInstance.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "support/TempDir.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/RunningCopy.h"

namespace {

using qm::test::RunningCopy;
using qm::test::UniqueName;

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
