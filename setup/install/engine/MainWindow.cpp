#include "install/engine/MainWindow.h"

#include <vector>

#include "install/engine/ProgressDialog.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/PrivateMessages.h"
#include "install/wizard/Sheet.h"
#include "platform/framework/Resources.h"
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
    // A complete copy continues with the completion sheet, which the program
    // does not have yet: the main window simply stays up.
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
