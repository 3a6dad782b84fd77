// A whole installation in this process: the application object over a copy
// of the sample medium, answered by the default response script.
#include <filesystem>

#include "CompletionTest.h"
#include "install/engine/MainWindow.h"
#include "install/startup/Installer.h"
#include "platform/framework/Application.h"
#include "platform/kernel/Prefix.h"
#include "support/HostFiles.h"
#include "support/Scripted.h"
#include "support/TempDir.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// Backslashes doubled, as REGEDIT4 text writes them.
std::string RegeditEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

class DefaultInstallationTest : public CompletionTest {
 protected:
  void TearDown() override {
    // As in the program, nothing deletes the main window or its sheets;
    // only their windows end here, so the next test starts on an empty
    // screen.
    if (installer.mainWindow) installer.mainWindow->DestroyWindow();
    CompletionTest::TearDown();
  }

  // The sample medium copied into `folder` with the installer under a name
  // of its own, so that no other installer counts as a second instance.
  void LayOutMedium(const fs::path& folder) {
    const char* source = std::getenv("QUELLMOOR_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    fs::copy(fs::path(source) / "medium", folder, fs::copy_options::recursive);
    mediumPath = qm::kernel::HostToWindowsPath(folder.string());
    StartedAs(mediumPath + "\\" + UniqueName());
  }

  // Runs the program with the default answers; its exit code.
  int RunWithDefaultAnswers() {
    const char* source = std::getenv("QUELLMOOR_SOURCE_DIR");
    return RunWithAnswers(ReadHostFile(fs::path(source) / "tools" / "default-install.script"));
  }

  // Runs the program answered by a response script; its exit code.
  int RunWithAnswers(const std::string& script) {
    return RunScripted(script, [this] { return qm::fw::RunApplication(installer); });
  }

  // Of static storage like the program's own, so that the application
  // object, and through it the main window and the sheets, live until the
  // process ends.
  static Installer& TheInstaller() {
    static Installer application;
    return application;
  }

  // Every link of the group and the desktop's lead into destination.
  static void ExpectLinksInto(const std::string& destination) {
    struct Row {
      std::string link;
      const char* target;
    };
    for (const Row& row : {Row{kGroupFolder + std::string("\\Quellmoor.lnk"), "\\bin\\start.exe"},
                           Row{kGroupFolder + std::string("\\Setup.lnk"), "\\bin\\setup.exe"},
                           Row{kGroupFolder + std::string("\\Uninstall.lnk"), "\\uninstall\\uninstall.exe"},
                           Row{kGroupFolder + std::string("\\Release notes.lnk"), "\\doc\\readme.txt"},
                           Row{kDesktopFolder + std::string("\\Quellmoor.lnk"), "\\bin\\start.exe"}}) {
      SCOPED_TRACE(row.link);
      auto link = ReadLink(row.link);
      ASSERT_TRUE(link.has_value());
      EXPECT_EQ(link->target, destination + row.target);
    }
  }

  Installer& installer = TheInstaller();
  std::string mediumPath;
};

TEST_F(DefaultInstallationTest, EndsWithTheRecordTheCopyAndTheLinks) {
  TempDir medium("qm-default-medium");
  LayOutMedium(medium.Path());
  ASSERT_EQ(RunWithDefaultAnswers(), 0);

  const std::string destination = "C:\\Games\\Quellmoor";
  EXPECT_EQ(QueryRecordValue("destinationPath"), destination);
  EXPECT_EQ(QueryRecordValue("sourcePath"), mediumPath);
  EXPECT_EQ(Settings().sourcePath, mediumPath + "\\") << "recorded without the trailing backslash";
  EXPECT_EQ(QueryRecordValue("installationType"), "full");
  const std::string text = ReadHostFile(qm::kernel::PrefixRoot() + "/user.reg");
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\ryk]\r\n"
                      "\"destinationPath\"=\"" + RegeditEscaped(destination) + "\"\r\n"
                      "\"sourcePath\"=\"" + RegeditEscaped(mediumPath) + "\"\r\n"
                      "\"installationType\"=\"full\"\r\n"),
            std::string::npos)
      << text;

  for (const char* file : {"\\bin\\start.exe", "\\doc\\readme.txt", "\\uninstall\\uninstall.exe"})
    EXPECT_TRUE(Exists(destination + file)) << file;
  ExpectLinksInto(destination);
  EXPECT_TRUE(launched.empty());
}

TEST_F(DefaultInstallationTest, ADestinationChosenWithBrowseTakesTheCopyTheRecordAndTheLinks) {
  TempDir medium("qm-browse-medium");
  TempDir driveD("qm-browse-drive-d");
  qm::kernel::MapDrive('D', driveD.Path());
  LayOutMedium(medium.Path());
  ASSERT_EQ(RunWithAnswers(R"(
wait "Install"
click 0x3024                 # welcome: Next
click 0x3024                 # installation type: Next
click 1001                   # destination: Browse...
wait "Choose Directory"
type "D:\Spiele\Quellmoor"
click "OK"
click "&Yes"                 # create the missing directory
expect 1020 "D:\Spiele\Quellmoor"
expect 1011 "Available on D:\:"
click 0x3024                 # destination: Next
click 0x3024                 # start installation: Next, the copy runs
wait-idle
click 0x3024                 # links: Next, the installation is recorded
click 0x3024                 # DirectX: Next
click 0x3025                 # installation complete: Finish
)"),
            0);

  const std::string destination = "D:\\Spiele\\Quellmoor";
  EXPECT_EQ(Settings().destinationPath, destination);
  EXPECT_EQ(QueryRecordValue("destinationPath"), destination);
  for (const char* file : {"/bin/start.exe", "/doc/readme.txt", "/uninstall/uninstall.exe"})
    EXPECT_TRUE(fs::exists(driveD.Path() + "/Spiele/Quellmoor" + file)) << file;
  EXPECT_FALSE(Exists("C:\\Games\\Quellmoor"));
  ExpectLinksInto(destination);
}

}  // namespace
}  // namespace qm::test
