#include "install/wizard/StartInstallationPage.h"

#include <string>

#include "install/resources/ResourceIds.h"
#include "install/wizard/Sheet.h"
#include "platform/framework/Resources.h"

StartInstallationPage::StartInstallationPage() : PropertyPage(IDD_START) { psp.dwFlags &= ~PSP_HASHELP; }

bool StartInstallationPage::OnSetActive() {
  const bool result = PropertyPage::OnSetActive();
  if (qm::fw::Window* help = GetSheet()->GetDlgItem(IDHELP)) help->EnableWindow(false);
  return result;
}

LRESULT StartInstallationPage::OnWizardNext() {
  auto* sheet = dynamic_cast<Sheet*>(GetSheet());
  if (!sheet) return PropertyPage::OnWizardNext();
  int answer = IDYES;
  if (sheet->insufficientSpace) {
    std::string text;
    std::string caption;
    qm::fw::LoadString(IDS_INSUFFICIENT_SPACE, text);
    qm::fw::LoadString(IDS_WARNING, caption);
    answer = MessageBox(text.c_str(), caption.c_str(), MB_YESNO | MB_ICONINFORMATION);
  }
  if (answer == IDYES) sheet->StartInstallation();
  // This is the last page: the wizard stays where it is, hidden after Yes.
  return PropertyPage::OnWizardNext();
}

LRESULT StartInstallationPage::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardBack();
}
