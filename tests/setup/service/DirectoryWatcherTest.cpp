#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "install/service/Service.h"
#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/Thread.h"
#include "platform/ui/WinUser.h"
#include "support/HostProbes.h"
#include "support/ScreenTest.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

constexpr UINT kChanged = WM_APP + 7;
constexpr UINT_PTR kDeadline = 99;
constexpr DWORD kNames = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

class DirectoryWatcher : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "WatchReceiver";
    WNDCLASSEXA existing;
    if (!GetClassInfoExA(nullptr, wc.lpszClassName, &existing)) {
      ASSERT_NE(RegisterClassExA(&wc), 0);
    }
    window = CreateWindowExA(0, "WatchReceiver", "receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(window, nullptr);
    root = HostPathOf("C:\\Watched");
    fs::create_directories(root + "/sub");
    watch.messageId = kChanged;
    watch.window = window;
    watch.path = "C:\\Watched";
  }
  void TearDown() override {
    StopDirectoryWatch(watch);
    DestroyWindow(window);
    ScreenTest::TearDown();
  }

  void Make(const std::string& relative) { std::ofstream(root + "/" + relative) << "x"; }

  // Waits, at most a few seconds, until the watch's message is in the
  // window's queue; the message stays there.
  bool MessageArrives() {
    SetTimer(window, kDeadline, 5000, nullptr);
    MSG msg;
    bool arrived = false;
    for (;;) {
      if (PeekMessageA(&msg, window, kChanged, kChanged, PM_NOREMOVE)) {
        arrived = true;
        break;
      }
      if (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE) && msg.wParam == kDeadline) break;
      WaitMessage();
    }
    KillTimer(window, kDeadline);
    return arrived;
  }

  // Takes the watch's messages from the window's queue; each must carry 0, 0.
  int TakeMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, kChanged, kChanged, PM_REMOVE)) {
      EXPECT_EQ(msg.hwnd, window);
      EXPECT_EQ(msg.wParam, 0u);
      EXPECT_EQ(msg.lParam, 0);
      ++count;
    }
    return count;
  }

  HWND window = nullptr;
  std::string root;
  DirectoryWatch watch;
};

TEST_F(DirectoryWatcher, StartOnAMissingPathFailsAndLeavesTheRecordStopped) {
  watch.path = "C:\\Missing\\Folder";
  StartRuntimeHelpers();
  const int descriptors = OpenDescriptors();
  const int threads = Threads();
  EXPECT_EQ(StartDirectoryWatch(watch, kNames), 0);
  EXPECT_EQ(watch.running, 0);
  EXPECT_EQ(watch.changeHandle, nullptr);
  EXPECT_EQ(watch.threadHandle, nullptr);
  EXPECT_EQ(StopDirectoryWatch(watch), 0);
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(Threads(), threads);
}

TEST_F(DirectoryWatcher, TenFilesMadeAtOncePostAtLeastOneAndAtMostTenMessages) {
  ASSERT_EQ(StartDirectoryWatch(watch, FILE_NOTIFY_CHANGE_FILE_NAME), 1);
  for (int i = 0; i < 10; ++i) Make("sub/file" + std::to_string(i) + ".txt");
  ASSERT_TRUE(MessageArrives());
  // Stopped, the watch posts nothing more: the count is final.
  EXPECT_EQ(StopDirectoryWatch(watch), 1);
  const int messages = TakeMessages();
  EXPECT_GE(messages, 1);
  EXPECT_LE(messages, 10);
}

TEST_F(DirectoryWatcher, StopEndsTheWaitingThreadAndASecondStopFindsNothingToStop) {
  ASSERT_EQ(StartDirectoryWatch(watch, kNames), 1);
  // Once a message came and was answered, the thread is back in its wait.
  Make("sub/one.txt");
  ASSERT_TRUE(MessageArrives());
  const DWORD thread = GetThreadId(watch.threadHandle);
  const std::string task = "/proc/self/task/" + std::to_string(thread);
  ASSERT_TRUE(fs::exists(task));

  EXPECT_EQ(StopDirectoryWatch(watch), 1);
  EXPECT_EQ(watch.running, 0);
  EXPECT_EQ(watch.threadHandle, nullptr);
  EXPECT_EQ(watch.changeHandle, nullptr);
  EXPECT_TRUE(Eventually([&] { return !fs::exists(task); })) << "the thread outlived the stop";
  EXPECT_EQ(StopDirectoryWatch(watch), 0);
  TakeMessages();
}

TEST_F(DirectoryWatcher, AFileMadeInASubdirectoryPostsTheMessageAndAStoppedRecordStartsAgain) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(StartDirectoryWatch(watch, kNames), 1);
    EXPECT_EQ(watch.running, 1);
    Make("sub/round" + std::to_string(round) + ".txt");
    ASSERT_TRUE(MessageArrives());
    EXPECT_EQ(StopDirectoryWatch(watch), 1);
    EXPECT_GE(TakeMessages(), 1);
  }
  // A start on a running record replaces its watch instead of leaving the
  // first thread behind.
  StartRuntimeHelpers();
  const int threads = Threads();
  ASSERT_EQ(StartDirectoryWatch(watch, kNames), 1);
  ASSERT_EQ(StartDirectoryWatch(watch, kNames), 1);
  EXPECT_TRUE(Eventually([&] { return Threads() == threads + 1; }));
}

TEST_F(DirectoryWatcher, NoDescriptorOrThreadIsLeftAfterStop) {
  StartRuntimeHelpers();
  const int descriptors = OpenDescriptors();
  const int threads = Threads();
  ASSERT_EQ(StartDirectoryWatch(watch, kNames), 1);
  EXPECT_GT(OpenDescriptors(), descriptors);
  EXPECT_EQ(Threads(), threads + 1);
  fs::create_directories(root + "/sub/deeper");
  Make("sub/deeper/file.txt");
  ASSERT_TRUE(MessageArrives());
  EXPECT_EQ(StopDirectoryWatch(watch), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_TRUE(Eventually([&] { return Threads() == threads; })) << Threads() << " threads, " << threads << " before";
  TakeMessages();
}

TEST_F(DirectoryWatcher, StartClosesTheChangeHandleWhenTheThreadCannotBeCreated) {
  const int descriptors = OpenDescriptors();
  qm::kernel::SetThreadCreationRefused(true);
  EXPECT_EQ(StartDirectoryWatch(watch, kNames), 0);
  qm::kernel::SetThreadCreationRefused(false);
  EXPECT_EQ(watch.running, 0);
  EXPECT_EQ(watch.changeHandle, nullptr);
  EXPECT_EQ(OpenDescriptors(), descriptors) << "the change notification was left open";
  EXPECT_EQ(StopDirectoryWatch(watch), 0);
}

}  // namespace
}  // namespace qm::test
