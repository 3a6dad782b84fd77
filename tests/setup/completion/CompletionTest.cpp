#include "CompletionTest.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "install/engine/CompleteSheet.h"
#include "install/engine/MainWindow.h"
#include "install/settings/InstallationSettings.h"
#include "platform/framework/Application.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/ShellLink.h"
#include "support/WindowsFiles.h"

namespace qm::test {

namespace {

class TestApplication : public qm::fw::Application {};

}  // namespace

void CompletionTest::SetUp() {
  InstallerUiTest::SetUp();
  qm::shell::SetLauncher([this](const qm::shell::HostCommand& command) {
    launched.push_back(command.request);
    return true;
  });
  StartInstallerAs("E:\\setup.exe");
}

void CompletionTest::TearDown() {
  InstallerUiTest::TearDown();
  qm::kernel::SetModuleFileNameOverride("");
  InstallationSettings::Reset();
}

void CompletionTest::RecordDirectXVersion(const char* version) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (version != nullptr)
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(std::strlen(version) + 1));
  else
    RegDeleteValueA(key, "Version");
  RegCloseKey(key);
}

void CompletionTest::StartInstallerAs(const std::string& exePath) {
  qm::kernel::SetModuleFileNameOverride(exePath);
  InstallationSettings::Reset();
  Settings();
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
  TestApplication application;
  MainWindow mainWindow;
  EXPECT_TRUE(mainWindow.Create());
  mainWindow.RenderBackground();
  application.mainWindow = &mainWindow;
  mainWindow.OpenCompletionSheet();
  const int exitCode = application.Run();
  EXPECT_EQ(driver.StepsLeft(), 0u) << driver.PendingSteps().front();
  // The sheet's window goes with its owner; the sheet object, like the
  // program's, is never deleted.
  mainWindow.DestroyWindow();
  return exitCode;
}

std::string CompletionTest::QueryRecordValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char buffer[512] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

std::optional<qm::shell::ShellLinkData> CompletionTest::ReadLink(const std::string& windowsPath) {
  return qm::shell::ReadShellLink(windowsPath);
}

bool CompletionTest::Exists(const std::string& windowsPath) { return qm::test::Exists(windowsPath); }

int CountWindowsWith(const std::string& controlText) {
  struct Search {
    std::string text;
    int count = 0;
  } search{controlText, 0};
  EnumWindows(
      [](HWND window, LPARAM param) {
        auto* s = reinterpret_cast<Search*>(param);
        if (!IsWindowVisible(window)) return TRUE;
        try {
          if (automation::FindControl(automation::Text(s->text), window)) ++s->count;
        } catch (const automation::AutomationError&) {
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.count;
}

}  // namespace qm::test
