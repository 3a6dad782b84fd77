#include "install/engine/CompleteSheet.h"

#include "install/engine/MainWindow.h"
#include "install/wizard/PrivateMessages.h"
#include "install/wizard/ResumeExitDialog.h"

CompleteSheet::CompleteSheet(const std::string& caption, qm::fw::Window* parent, UINT startPage)
    : PropertySheet(caption, parent, startPage) {
  SetWizardMode();
  AddPage(&linksPage);
  AddPage(&directXPage);
  AddPage(&completePage);
}

void CompleteSheet::Finish() {
  if (auto* mainWindow = dynamic_cast<MainWindow*>(parentWindow)) mainWindow->FinishInstallation();
}

void CompleteSheet::ConfirmExit() {
  if (parentWindow && parentWindow->Handle()) parentWindow->PostMessage(WM_SHEET_CANCEL, 0, 0);

  // The question has no owner; the wizard takes no input until it is
  // answered.
  const bool wasEnabled = Handle() && IsWindowEnabled();
  if (wasEnabled) EnableWindow(false);
  ResumeExitDialog dialog;
  const INT_PTR answer = dialog.DoModal();
  if (wasEnabled) EnableWindow(true);

  if (answer == IDCANCEL) {
    PostMessage(WM_QUIT, 0, 0);
  } else if (Handle()) {
    // The question went away while the wizard was still disabled, so the
    // activation passed to the main window; the user resumes in the wizard.
    SetActiveWindow(Handle());
  }
}
