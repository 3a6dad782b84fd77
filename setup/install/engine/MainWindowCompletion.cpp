#include "install/engine/MainWindow.h"

#include "install/engine/CompleteSheet.h"
#include "install/resources/ResourceIds.h"
#include "install/service/Service.h"
#include "install/service/ShellLinks.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/RestartWindowsDialog.h"
#include "platform/framework/Resources.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shell/Privileges.h"
#include "platform/shell/Restart.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolders.h"

// ---- Completion: the completion sheet, the links and the end of the run ----

namespace {

// Opened with "Visit Quellmoor On Web", which the complete page's template
// keeps disabled.
constexpr char kWebPageAddress[] = "https://quellmoor.example/";

// One program-group link.
struct LinkRecord {
  std::string target;
  std::string linkFile;
  std::string iconFile;
  std::string workingDirectory;
  std::string description;
};

// Empty when the shell cannot say where the folder is; no links are made
// there then.
std::string SpecialFolderPath(HWND owner, int folder) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, folder, &list)) || !list) return std::string();
  char path[MAX_PATH] = {};
  const BOOL found = SHGetPathFromIDListA(list, path);
  ILFree(list);
  return found ? std::string(path) : std::string();
}

// An old group link goes first, also when it was made read-only.
void RemoveOldLink(const std::string& linkFile) {
  if (!FileExists(linkFile)) return;
  const DWORD attributes = GetFileAttributesA(linkFile.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(linkFile.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  DeleteFileA(linkFile.c_str());
}

}  // namespace

void MainWindow::OpenCompletionSheet() {
  completionSheet = new CompleteSheet(caption, this, 0);
  completionSheet->Create(this);
  completionSheet->ShowWindow(SW_SHOW);
}

void MainWindow::CreateProgramGroup() {
  const std::string programs = SpecialFolderPath(Handle(), CSIDL_PROGRAMS);
  if (programs.empty()) return;
  const std::string group = programs + "\\Quellmoor";
  CreateDirectoryPath(group);

  const InstallationSettings& settings = Settings();
  const LinkRecord links[] = {
      {settings.GetStartExePath(), group + "\\Quellmoor.lnk", settings.destinationPath + "\\bin\\ryk.ico", "",
       "Quellmoor"},
      {settings.GetSetupExePath(), group + "\\Setup.lnk", settings.GetSetupExePath(), "", "Setup"},
      {settings.GetUninstallExePath(), group + "\\Uninstall.lnk", settings.GetUninstallExePath(),
       settings.GetUninstallDirectory(), "Uninstall"},
      {settings.GetReadmePath(), group + "\\Release notes.lnk", settings.GetReadmePath(), "", "Release notes"},
  };
  for (const LinkRecord& link : links) {
    RemoveOldLink(link.linkFile);
    CreateShellLink(link.target, link.linkFile, link.description, "", link.iconFile, link.workingDirectory);
  }
}

void MainWindow::CreateDesktopLink() {
  const std::string desktop = SpecialFolderPath(Handle(), CSIDL_DESKTOPDIRECTORY);
  if (desktop.empty()) return;
  const InstallationSettings& settings = Settings();
  CreateShellLink(settings.GetStartExePath(), desktop + "\\Quellmoor.lnk", "Quellmoor", "",
                  settings.destinationPath + "\\bin\\ryk.ico", "");
}

void MainWindow::FinishInstallation() {
  const InstallationSettings& settings = Settings();
  if (settings.createProgramGroup) CreateProgramGroup();
  if (settings.createDesktopLink) CreateDesktopLink();
  if (settings.viewReleaseNotes) {
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    // Built at whatever length it takes, so a long destination still opens
    // its own release notes rather than a cut-off name.
    const std::string commandLine = std::string(windows) + "\\notepad.exe " + settings.GetReadmePath();
    WinExec(commandLine.c_str(), SW_SHOW);
  }
  if (settings.visitWebPage) ShellExecuteA(Handle(), "open", kWebPageAddress, nullptr, "", SW_SHOW);
  OfferRestart();
  PostMessage(WM_QUIT, 0, 0);
}

void MainWindow::OfferRestart() {
  if (!Settings().restartNeeded) return;
  RestartWindowsDialog dialog;
  if (dialog.DoModal() != IDOK) return;
  EnablePrivilege(SE_SHUTDOWN_NAME, true);
  if (!ExitWindowsEx(EWX_REBOOT, 0)) {
    std::string text;
    std::string errorCaption;
    qm::fw::LoadString(IDS_CANT_RESTART, text);
    qm::fw::LoadString(IDS_ERROR, errorCaption);
    MessageBox(text.c_str(), errorCaption.c_str(), MB_ICONHAND | MB_OK);
  }
}

bool EnablePrivilege(const char* name, bool enable) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) {
    CloseHandle(token);
    return false;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
  // A privilege the account does not hold still lets the call succeed, with
  // ERROR_NOT_ALL_ASSIGNED as the only sign.
  const bool adjusted = GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return adjusted;
}
