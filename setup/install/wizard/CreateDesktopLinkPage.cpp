#include "install/wizard/CreateDesktopLinkPage.h"

#include "install/engine/CompleteSheet.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationRecord.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/WizardButtons.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/PropertySheet.h"
#include "platform/ui/Controls.h"

CreateDesktopLinkPage::CreateDesktopLinkPage() : PropertyPage(IDD_LINKS) { psp.dwFlags &= ~PSP_HASHELP; }

void CreateDesktopLinkPage::DoDataExchange(qm::fw::DataExchange& exchange) {
  PropertyPage::DoDataExchange(exchange);
  qm::fw::DdxControl(exchange, IDC_PROGRAM_GROUP, programGroupBox);
  qm::fw::DdxControl(exchange, IDC_DESKTOP_LINK, desktopLinkBox);
}

bool CreateDesktopLinkPage::OnInitDialog() {
  PropertyPage::OnInitDialog();
  // The ticks match the settings' defaults; from here on they keep the
  // user's clicks across visits.
  programGroupBox.SetCheck(BST_CHECKED);
  desktopLinkBox.SetCheck(BST_CHECKED);
  return true;
}

bool CreateDesktopLinkPage::OnSetActive() {
  RecordInstallation();
  GetSheet()->SetWizardButtons(PSWIZB_NEXT);
  SetWizardButtonLabels(*GetSheet());
  return PropertyPage::OnSetActive();
}

bool CreateDesktopLinkPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_PROGRAM_GROUP:
        Settings().createProgramGroup = programGroupBox.GetCheck() == BST_CHECKED;
        return true;
      case IDC_DESKTOP_LINK:
        Settings().createDesktopLink = desktopLinkBox.GetCheck() == BST_CHECKED;
        return true;
    }
  }
  return PropertyPage::OnCommand(wParam, lParam);
}

LRESULT CreateDesktopLinkPage::OnWizardNext() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardNext();
}

LRESULT CreateDesktopLinkPage::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardBack();
}

void CreateDesktopLinkPage::OnCancel() {
  static_cast<CompleteSheet*>(GetSheet())->ConfirmExit();
  PropertyPage::OnCancel();
}
