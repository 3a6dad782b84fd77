#include "install/engine/MainWindow.h"

#include <vector>

#include "install/engine/CompleteSheet.h"
#include "install/engine/ProgressDialog.h"
#include "install/resources/ResourceIds.h"
#include "install/service/Service.h"
#include "install/service/ShellLinks.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/PrivateMessages.h"
#include "install/wizard/RestartWindowsDialog.h"
#include "install/wizard/Sheet.h"
#include "platform/framework/Resources.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shell/Privileges.h"
#include "platform/shell/Restart.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/Resources.h"

namespace {

std::string LoadTextOr(UINT id, const char* fallback) {
  std::string text;
  if (!qm::fw::LoadString(id, text)) text = fallback;
  return text;
}

}  // namespace

MainWindow::MainWindow() = default;

bool MainWindow::Create() {
  const int width = GetSystemMetrics(SM_CXMAXIMIZED);
  const int height = GetSystemMetrics(SM_CYMAXIMIZED);
  caption = LoadTextOr(IDS_INSTALL, "Install");
  const std::string windowClass =
      qm::fw::RegisterWindowClass(CS_OWNDC, LoadCursorA(nullptr, IDC_ARROW),
                                  static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), LoadIconA(nullptr, IDI_ASTERISK));
  const bool created = CreateEx(0, windowClass.c_str(), caption.c_str(), WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                0, 0, width, height, GetDesktopWindow(), nullptr);
  backgroundReady = false;
  return created;
}

void MainWindow::RenderBackground() {
  qm::fw::ClientDC dc(this);
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  memoryDC.CreateCompatibleDC(&dc);
  backgroundBitmap.CreateCompatibleBitmap(dc, width, height);
  memoryDC.SelectObject(backgroundBitmap);

  // The blue falls evenly from 192 at the top; the last row keeps at least 1.
  for (int row = 0; row < height; ++row) {
    qm::fw::Pen pen(PS_SOLID, 1, RGB(0, 0, static_cast<BYTE>(192 - 192 * row / height)));
    const HGDIOBJ previous = memoryDC.SelectObject(pen);
    memoryDC.MoveTo(client.left, row);
    memoryDC.LineTo(client.right, row);
    memoryDC.SelectObject(previous);
  }

  titleFont.CreateFont(30, 15, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_TT_ALWAYS,
                       PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Times Roman");
  memoryDC.SelectObject(titleFont);
  memoryDC.SetBkMode(TRANSPARENT);
  const std::string title = LoadTextOr(IDS_TITLE, "Quellmoor Installation Utility");
  // The black copy, 5 pixels right of and below the white one, is its shadow.
  memoryDC.SetTextColor(RGB(0, 0, 0));
  memoryDC.TextOut(25, 25, title);
  memoryDC.SetTextColor(RGB(255, 255, 255));
  memoryDC.TextOut(20, 20, title);
  backgroundReady = true;
}

void MainWindow::OpenWizard() {
  wizardSheet = new Sheet(caption, this, 0);
  wizardSheet->Create(this);
  wizardSheet->ShowWindow(SW_SHOW);
}

void MainWindow::OnStartInstallation() {
  auto* progress = new ProgressDialog(this);
  progress->Create(IDD_PROGRESS, this);
  progress->ShowWindow(SW_SHOW);
  // Every installation type copies the same trees; directx is set up from
  // the medium, never copied.
  const std::vector<std::string> trees{"db", "bin", "doc", "uninstall"};
  const InstallationSettings& settings = Settings();
  const int result =
      progress->CopyTrees(settings.installerDirectory, settings.destinationPath + "\\", trees, settings.requiredSizeKb);
  // The dialog deletes itself with its window; one that never got a window
  // is deleted here.
  if (progress->Handle())
    progress->DestroyWindow();
  else
    delete progress;
  if (result == 0) {
    OpenCompletionSheet();
    return;
  }
  PostMessage(WM_QUIT, 0, 0);
}

LRESULT MainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHEET_CANCEL:
      return 0;
    case WM_START_INSTALLATION:
      OnStartInstallation();
      return 0;
    default:
      return Window::WindowProc(message, wParam, lParam);
  }
}

void MainWindow::OnPaint() {
  qm::fw::PaintDC dc(this);
  if (!backgroundReady) return;
  RECT client{};
  GetClientRect(&client);
  dc.BitBlt(0, 0, client.right - client.left, client.bottom - client.top, &memoryDC, 0, 0, SRCCOPY);
}

bool MainWindow::OnEraseBkgnd(HDC) { return false; }

void MainWindow::OnClose() {}

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
  // Once only: the wizard stays on the screen beneath the restart question
  // and its error box, which disable only their owner, so its Finish can be
  // pressed again; that would make the links and ask for a restart again.
  if (finished) return;
  finished = true;
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
