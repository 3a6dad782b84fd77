#include "install/wizard/GreetingsPage.h"

#include "install/resources/ResourceIds.h"
#include "install/wizard/Sheet.h"
#include "install/wizard/WizardButtons.h"

GreetingsPage::GreetingsPage() : PropertyPage(IDD_WELCOME) { psp.dwFlags &= ~PSP_HASHELP; }

bool GreetingsPage::OnSetActive() {
  qm::fw::PropertySheet* sheet = GetSheet();
  sheet->SetWizardButtons(PSWIZB_NEXT);
  if (qm::fw::Window* help = sheet->GetDlgItem(IDHELP)) help->EnableWindow(false);
  SetWizardButtonLabels(*sheet);
  return PropertyPage::OnSetActive();
}

LRESULT GreetingsPage::OnWizardNext() {
  PropertyPage::OnWizardNext();
  ShowWindow(SW_HIDE);
  return 0;
}

void GreetingsPage::OnCancel() {
  PropertyPage::OnCancel();
  if (auto* sheet = dynamic_cast<Sheet*>(GetSheet())) sheet->ConfirmExit();
}
