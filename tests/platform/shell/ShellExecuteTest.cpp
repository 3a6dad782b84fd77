#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/ShellExecute.h"
#include "support/HostProbes.h"

namespace {

constexpr UINT kShow = 5;  // SW_SHOW

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

void MakeFile(const std::string& windowsPath) {
  std::filesystem::create_directories(std::filesystem::path(Host(windowsPath)).parent_path());
  std::ofstream(Host(windowsPath)) << "notes";
}

std::intptr_t Result(HINSTANCE instance) { return reinterpret_cast<std::intptr_t>(instance); }

// Records what would be launched; launches nothing.
class ShellExecute : public testing::Test {
 protected:
  qm::test::RecordingLauncher recorder;
  std::vector<qm::shell::HostCommand>& launched = recorder.launched;
  bool& launcherWorks = recorder.works;
};

}  // namespace

TEST_F(ShellExecute, TheTextEditorOpensItsFileInTheHostViewer) {
  MakeFile("C:\\Games\\Quellmoor Gold\\doc\\read me.txt");
  const std::string command = "C:\\Windows\\notepad.exe C:\\Games\\Quellmoor Gold\\doc\\read me.txt";
  EXPECT_GT(WinExec(command.c_str(), kShow), 31u);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].request, command);
  EXPECT_EQ(launched[0].argv,
            (std::vector<std::string>{"xdg-open", Host("C:\\Games\\Quellmoor Gold\\doc\\read me.txt")}));
}

TEST_F(ShellExecute, TheEditorIsFoundByAnyOfItsNames) {
  MakeFile("C:\\Notes\\a.txt");
  for (const char* command : {"c:\\windows\\NOTEPAD.EXE C:\\Notes\\a.txt", "notepad c:\\notes\\A.TXT",
                              "\"C:\\Windows\\notepad.exe\" \"C:\\Notes\\a.txt\"",
                              "C:\\Windows\\System32\\notepad.exe   C:\\Notes\\a.txt  "}) {
    SCOPED_TRACE(command);
    launched.clear();
    EXPECT_GT(WinExec(command, kShow), 31u);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].argv.at(1), Host("C:\\Notes\\a.txt"));
  }
}

TEST_F(ShellExecute, OtherProgramsAndMissingDocumentsAreNotFound) {
  MakeFile("C:\\Notes\\a.txt");
  for (const char* command : {"C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Windows\\write.exe C:\\Notes\\a.txt",
                              "C:\\Windows\\notepad.exe C:\\Notes\\missing.txt", "C:\\Windows\\notepad.exe", ""}) {
    SCOPED_TRACE(command);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WinExec(command, kShow), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(ShellExecute, AViewerThatCannotStartIsReported) {
  MakeFile("C:\\Notes\\a.txt");
  launcherWorks = false;
  EXPECT_EQ(WinExec("C:\\Windows\\notepad.exe C:\\Notes\\a.txt", kShow), ERROR_FILE_NOT_FOUND);
  EXPECT_LE(Result(ShellExecuteA(nullptr, "open", "https://quellmoor.example/", nullptr, "", kShow)), 32);
}

TEST_F(ShellExecute, WebAddressesGoToTheHostBrowser) {
  for (const char* address : {"http://www.quellmoor.example/", "HTTPS://quellmoor.example/news?x=1&y=2"}) {
    SCOPED_TRACE(address);
    launched.clear();
    EXPECT_GT(Result(ShellExecuteA(nullptr, "open", address, nullptr, "", kShow)), 32);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].request, address);
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"xdg-open", address}));
  }
}

TEST_F(ShellExecute, OpenHandlesDocumentsButRunsNoPrograms) {
  MakeFile("C:\\Games\\Quellmoor\\doc\\readme.txt");
  MakeFile("C:\\Games\\Quellmoor\\bin\\start.exe");
  EXPECT_GT(Result(ShellExecuteA(nullptr, nullptr, "readme.txt", nullptr, "C:\\Games\\Quellmoor\\doc", kShow)), 32);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].argv.at(1), Host("C:\\Games\\Quellmoor\\doc\\readme.txt"));
  EXPECT_GT(Result(ShellExecuteA(nullptr, "open", "C:\\Windows\\notepad.exe", "C:\\Games\\Quellmoor\\doc\\readme.txt",
                                 "", kShow)),
            32);
  EXPECT_EQ(launched.size(), 2u);

  EXPECT_EQ(Result(ShellExecuteA(nullptr, "open", "C:\\Games\\Quellmoor\\bin\\start.exe", nullptr, "", kShow)),
            SE_ERR_FNF);
  EXPECT_EQ(Result(ShellExecuteA(nullptr, "open", "C:\\Nothing.txt", nullptr, "", kShow)), SE_ERR_FNF);
  EXPECT_EQ(Result(ShellExecuteA(nullptr, "print", "C:\\Games\\Quellmoor\\doc\\readme.txt", nullptr, "", kShow)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(launched.size(), 2u);
}

TEST(Launcher, TheHostLauncherReportsAProgramThatCannotBeStarted) {
  EXPECT_FALSE(qm::shell::LaunchOnHost({"", {"/nonexistent/quellmoor-no-such-program"}}));
  EXPECT_FALSE(qm::shell::LaunchOnHost({"", {}}));
  EXPECT_TRUE(qm::shell::LaunchOnHost({"", {"/bin/true"}}));
}
