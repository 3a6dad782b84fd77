#include "install/wizard/Sheet.h"

#include <vector>

#include "install/wizard/PrivateMessages.h"
#include "install/wizard/ResumeExitDialog.h"

Sheet::Sheet(const std::string& caption, qm::fw::Window* parent, UINT startPage)
    : PropertySheet(caption, parent, startPage) {
  AddPage(&greetingsPage);
  AddPage(&installationTypePage);
  AddPage(&destinationPage);
  AddPage(&startInstallationPage);
  SetWizardMode();
}

void Sheet::StartInstallation() {
  ShowWindow(SW_HIDE);
  // Posted: the copy begins only after the page's Next handling has returned.
  if (parentWindow && parentWindow->Handle()) parentWindow->PostMessage(WM_START_INSTALLATION, 0, 0);
}

void Sheet::ConfirmExit() {
  if (parentWindow && parentWindow->Handle()) parentWindow->PostMessage(WM_SHEET_CANCEL, 0, 0);

  // The question's modal loop disables only its owner, the active window;
  // the wizard and the main window beneath it are both held still until it
  // is answered, so a click on either cannot bury the question. The loop
  // leaves an owner it finds disabled alone, so nothing is enabled early.
  std::vector<qm::fw::Window*> held;
  for (qm::fw::Window* window : {static_cast<qm::fw::Window*>(this), parentWindow}) {
    if (window && window->Handle() && window->IsWindowEnabled()) {
      window->EnableWindow(false);
      held.push_back(window);
    }
  }
  ResumeExitDialog dialog;
  const INT_PTR answer = dialog.DoModal();
  for (qm::fw::Window* window : held) window->EnableWindow(true);

  if (answer == IDCANCEL) PostMessage(WM_QUIT, 0, 0);
}

void Sheet::OnClose() {}

void Sheet::OnActivate(UINT state, HWND other, bool minimized) {
  PropertySheet::OnActivate(state, other, minimized);
  if (state == WA_ACTIVE || state == WA_CLICKACTIVE) destinationPage.UpdateSpaceInfo();
}
