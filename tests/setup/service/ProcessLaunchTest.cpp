#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "install/service/Service.h"
#include "platform/kernel/Process.h"
#include "support/HostFiles.h"
#include "support/HostProbes.h"

namespace qm::test {
namespace {

constexpr int kShow = 1;  // SW_SHOWNORMAL

DWORD OwnClass() { return GetPriorityClass(GetCurrentProcess()); }
int OwnNice() { return NiceOfProcess(getpid()).value_or(99); }

class RunAndWaitTest : public testing::Test {
 protected:
  RecordingLauncher recorder;
  std::vector<qm::shell::HostCommand>& launched = recorder.launched;
};

TEST_F(RunAndWaitTest, AFileThatCannotBeStartedAnswersMinusOneAndLeavesThePriorityAlone) {
  ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS));
  std::filesystem::create_directories(HostPathOf("C:\\Games\\Quellmoor\\bin"));
  std::ofstream(HostPathOf("C:\\Games\\Quellmoor\\bin\\start.exe")) << "MZ";
  struct Row {
    const char* file;
    const char* directory;
  } rows[] = {
      {"C:\\Games\\Quellmoor\\bin\\missing.exe", nullptr},
      {"C:\\Games\\Quellmoor\\bin\\start.exe", nullptr},
      {"Z:\\bin\\true", "C:\\No Such Folder"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(RunAndWait(nullptr, row.file, nullptr, row.directory, kShow), -1);
    EXPECT_EQ(OwnClass(), BELOW_NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(OwnNice(), 10);
  }
}

TEST_F(RunAndWaitTest, TheProgramsExitCodeComesBackAndTheInstallersClassIsAsBefore) {
  ASSERT_TRUE(WriteScript("C:\\Tools\\three.sh", "exit 3"));
  // From the highest class down, so that each row's class can be set.
  for (DWORD before : {NORMAL_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS}) {
    SCOPED_TRACE(before);
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), before));
    EXPECT_EQ(RunAndWait(nullptr, "C:\\Tools\\three.sh", nullptr, nullptr, kShow), 3);
    EXPECT_EQ(OwnClass(), before);
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(RunAndWaitTest, TheProgramRunsAtHighPriorityAndTheInstallerAtNormalWhileItWaits) {
  if (!MayRaisePriority()) GTEST_SKIP() << "the host does not let this user raise priorities";
  HeldPipe started("C:\\started.fifo");
  HeldPipe release("C:\\release.fifo");
  ASSERT_TRUE(WriteScript("C:\\Tools\\held.sh",
                          "echo $$ > '" + started.HostPath() + "'\nread line < '" + release.HostPath() + "'\nexit 4"));
  ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS));

  auto result = std::async(std::launch::async, [] {
    return RunAndWait(nullptr, "C:\\Tools\\held.sh", nullptr, nullptr, kShow);
  });
  const std::string pid = started.ReadLine();
  ASSERT_FALSE(pid.empty()) << "the program did not start";
  EXPECT_TRUE(Eventually([&] { return NiceOfProcess(std::stoi(pid)) == -10 && OwnNice() == 0; }))
      << "program " << NiceOfProcess(std::stoi(pid)).value_or(99) << ", installer " << OwnNice();
  EXPECT_EQ(result.wait_for(std::chrono::seconds(0)), std::future_status::timeout) << "it waits for the program";

  EXPECT_TRUE(release.Write("go\n"));
  EXPECT_EQ(result.get(), 4);
  EXPECT_EQ(OwnClass(), BELOW_NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(OwnNice(), 10);
}

TEST_F(RunAndWaitTest, ParametersWithBlanksAndTheWorkingDirectoryReachTheProgram) {
  ASSERT_TRUE(WriteScript("C:\\Tools\\report.sh", "{ pwd; printf '[%s]\\n' \"$@\"; } > ../report.txt"));
  std::filesystem::create_directories(HostPathOf("C:\\Games\\Quell moor\\doc"));
  EXPECT_EQ(RunAndWait(nullptr, "C:\\Tools\\report.sh", "\"read me.txt\" -v \"C:\\Games\\Quell moor\\\\\"",
                       "C:\\Games\\Quell moor\\doc", kShow),
            0);
  const std::string text = ReadHostFile(HostPathOf("C:\\Games\\Quell moor\\report.txt"));
  EXPECT_EQ(text, HostPathOf("C:\\Games\\Quell moor\\doc") + "\n[read me.txt]\n[-v]\n[C:\\Games\\Quell moor\\]\n");
}

TEST_F(RunAndWaitTest, ADocumentOpenedThroughItsDefaultVerbAnswersZeroAtOnce) {
  ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS));
  std::filesystem::create_directories(HostPathOf("C:\\Games\\Quellmoor\\doc"));
  std::ofstream(HostPathOf("C:\\Games\\Quellmoor\\doc\\readme.txt")) << "notes";
  EXPECT_EQ(RunAndWait(nullptr, "readme.txt", nullptr, "C:\\Games\\Quellmoor\\doc", kShow), 0);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].argv,
            (std::vector<std::string>{"xdg-open", HostPathOf("C:\\Games\\Quellmoor\\doc\\readme.txt")}));
  EXPECT_EQ(OwnClass(), BELOW_NORMAL_PRIORITY_CLASS) << "nothing to wait for, no class to change";
}

TEST_F(RunAndWaitTest, RunAndWaitReleasesTheProcessHandle) {
  // The first start sets up what the platform keeps for all its children.
  EXPECT_EQ(RunAndWait(nullptr, "Z:\\bin\\true", nullptr, nullptr, kShow), 0);
  const int descriptors = OpenDescriptors();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RunAndWait(nullptr, "Z:\\bin\\false", nullptr, nullptr, kShow), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
}  // namespace qm::test
