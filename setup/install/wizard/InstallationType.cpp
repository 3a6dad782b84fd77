#include "install/wizard/InstallationType.h"

#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/framework/PropertySheet.h"
#include "platform/ui/Controls.h"

InstallationType::InstallationType() : PropertyPage(IDD_INSTALLATION_TYPE) { psp.dwFlags &= ~PSP_HASHELP; }

bool InstallationType::OnInitDialog() {
  PropertyPage::OnInitDialog();
  // The settings start as a full installation; the selection lives in the
  // controls from here on and is never read back from the settings.
  CheckDlgButton(IDC_FULL, BST_CHECKED);
  return true;
}

bool InstallationType::OnSetActive() {
  GetSheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  return PropertyPage::OnSetActive();
}

LRESULT InstallationType::OnWizardNext() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardNext();
}

LRESULT InstallationType::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardBack();
}

bool InstallationType::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_COMPACT:
        Settings().installationType = "compact";
        return true;
      case IDC_MEDIUM:
        Settings().installationType = "medium";
        return true;
      case IDC_FULL:
        Settings().installationType = "full";
        return true;
    }
  }
  return PropertyPage::OnCommand(wParam, lParam);
}
