#include "install/wizard/Sheet.h"

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

  // The question has no owner, so the modal loop would leave the wizard
  // working underneath it; the wizard takes no input until it is answered.
  const bool wasEnabled = Handle() && IsWindowEnabled();
  if (wasEnabled) EnableWindow(false);
  ResumeExitDialog dialog;
  const INT_PTR answer = dialog.DoModal();
  if (wasEnabled) EnableWindow(true);

  if (answer == IDCANCEL) PostMessage(WM_QUIT, 0, 0);
}

void Sheet::OnClose() {}

void Sheet::OnActivate(UINT state, HWND other, bool minimized) {
  PropertySheet::OnActivate(state, other, minimized);
  if (state == WA_ACTIVE || state == WA_CLICKACTIVE) destinationPage.UpdateSpaceInfo();
}
