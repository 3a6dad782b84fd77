#include "CompletionTest.h"

#include "install/engine/MainWindow.h"
#include "platform/framework/Application.h"
#include "platform/shell/Launcher.h"
#include "support/OpenWindows.h"
#include "support/SheetObjects.h"

namespace qm::test {

void CompletionTest::SetUp() {
  InstallerUiTest::SetUp();
  qm::shell::SetLauncher([this](const qm::shell::HostCommand& command) {
    launched.push_back(command.request);
    return true;
  });
  StartedAs("E:\\setup.exe");
}

void CompletionTest::TearDown() {
  InstallerUiTest::TearDown();
  ForgetStart();
}

std::string CompletionTest::MakeDirectXPackage(const std::string& name, const std::string& manifest) {
  const std::string folder = "C:\\medium\\" + name;
  if (!manifest.empty()) {
    MakeWindowsDirectory(folder);
    WriteWindowsFile(folder + "\\package.txt", manifest);
    WriteWindowsFile(folder + "\\ddraw.dll", "MZ");
  }
  return folder;
}

void CompletionTest::MakeInstalledGame() {
  const InstallationSettings& settings = Settings();
  for (const char* folder : {"\\bin", "\\doc", "\\uninstall", "\\db"})
    MakeWindowsDirectory(settings.destinationPath + folder);
  WriteWindowsFile(settings.GetStartExePath(), "MZ start");
  WriteWindowsFile(settings.GetSetupExePath(), "MZ setup");
  WriteWindowsFile(settings.destinationPath + "\\bin\\ryk.ico", "icon");
  WriteWindowsFile(settings.GetUninstallExePath(), "MZ uninstall");
  WriteWindowsFile(settings.GetReadmePath(), "Release notes");
}

int CompletionTest::RunCompletion(automation::Driver& driver) {
  qm::fw::Application application;
  MainWindow mainWindow;
  EXPECT_TRUE(mainWindow.Create());
  mainWindow.RenderBackground();
  application.mainWindow = &mainWindow;
  mainWindow.OpenCompletionSheet();
  // The program never deletes its sheet; the test ends it with the main
  // window. Taken now: Finish destroys the sheet's window by itself.
  const auto sheets = TakeSheets(mainWindow.Handle());
  const int exitCode = application.Run();
  EXPECT_EQ(driver.StepsLeft(), 0u) << driver.PendingSteps().front();
  mainWindow.DestroyWindow();
  return exitCode;
}

int CountWindowsWith(const std::string& controlText) {
  int count = 0;
  for (HWND window : TopLevelWindows()) {
    if (!IsWindowVisible(window)) continue;
    try {
      if (automation::FindControl(automation::Text(controlText), window)) ++count;
    } catch (const automation::AutomationError&) {
    }
  }
  return count;
}

}  // namespace qm::test
