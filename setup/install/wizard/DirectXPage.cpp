#include "install/wizard/DirectXPage.h"

#include <string>

#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/PropertySheet.h"
#include "platform/framework/Resources.h"
#include "platform/ui/Controls.h"

DirectXPage::DirectXPage() : PropertyPage(IDD_DIRECTX) { psp.dwFlags &= ~PSP_HASHELP; }

void DirectXPage::DoDataExchange(qm::fw::DataExchange& exchange) {
  PropertyPage::DoDataExchange(exchange);
  qm::fw::DdxControl(exchange, IDC_DIRECTX_NEEDED, neededText);
  qm::fw::DdxControl(exchange, IDC_DIRECTX_PRESENT, presentText);
  qm::fw::DdxControl(exchange, IDC_INSTALL_DIRECTX, installBox);
}

// The page keeps nothing between visits: text and tick follow the probe
// anew each time, so a changed tick is reset by going Back and returning.
bool DirectXPage::OnSetActive() {
  const bool needed = Settings().directXNeeded;
  neededText.ShowWindow(needed ? SW_SHOW : SW_HIDE);
  presentText.ShowWindow(needed ? SW_HIDE : SW_SHOW);
  installBox.SetCheck(needed ? BST_CHECKED : BST_UNCHECKED);
  GetSheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  return PropertyPage::OnSetActive();
}

LRESULT DirectXPage::OnWizardNext() {
  if (installBox.GetCheck() == BST_CHECKED && !Settings().RunDirectXSetup()) {
    std::string text;
    std::string caption;
    qm::fw::LoadString(IDS_DIRECTX_FAILED, text);
    qm::fw::LoadString(IDS_WARNING, caption);
    MessageBox(text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
  }
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardNext();
}

LRESULT DirectXPage::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardBack();
}
