#include "install/wizard/InstallationCompletePage.h"

#include <string>

#include "install/engine/CompleteSheet.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/PropertySheet.h"
#include "platform/framework/Resources.h"
#include "platform/ui/Controls.h"

InstallationCompletePage::InstallationCompletePage() : PropertyPage(IDD_COMPLETE) { psp.dwFlags &= ~PSP_HASHELP; }

void InstallationCompletePage::DoDataExchange(qm::fw::DataExchange& exchange) {
  PropertyPage::DoDataExchange(exchange);
  qm::fw::DdxControl(exchange, IDC_RELEASE_NOTES, releaseNotesBox);
  qm::fw::DdxControl(exchange, IDC_WEB_PAGE, webPageBox);
}

// Once the game is installed and this page has been seen there is nothing
// left to cancel: the sheet's Cancel goes for good.
bool InstallationCompletePage::OnInitDialog() {
  PropertyPage::OnInitDialog();
  CancelToClose();
  return true;
}

bool InstallationCompletePage::OnSetActive() {
  if (qm::fw::Window* help = GetSheet()->GetDlgItem(IDHELP)) help->EnableWindow(false);
  std::string finish;
  if (!qm::fw::LoadString(IDS_FINISH, finish)) finish = "&Finish";
  GetSheet()->SetFinishText(finish.c_str());
  return PropertyPage::OnSetActive();
}

bool InstallationCompletePage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_RELEASE_NOTES:
        Settings().viewReleaseNotes = releaseNotesBox.GetCheck() == BST_CHECKED;
        return true;
      case IDC_WEB_PAGE:
        Settings().visitWebPage = webPageBox.GetCheck() == BST_CHECKED;
        return true;
    }
  }
  return PropertyPage::OnCommand(wParam, lParam);
}

bool InstallationCompletePage::OnWizardFinish() {
  static_cast<CompleteSheet*>(GetSheet())->Finish();
  return PropertyPage::OnWizardFinish();
}
