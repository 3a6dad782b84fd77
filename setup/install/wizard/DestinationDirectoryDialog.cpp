#include "install/wizard/DestinationDirectoryDialog.h"

#include <cstdint>

#include "install/resources/ResourceIds.h"
#include "install/service/Service.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/Sheet.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Resources.h"

DestinationDirectoryDialog::DestinationDirectoryDialog() : PropertyPage(IDD_DESTINATION) {
  psp.dwFlags &= ~PSP_HASHELP;
}

void DestinationDirectoryDialog::DoDataExchange(qm::fw::DataExchange& exchange) {
  qm::fw::DdxText(exchange, IDC_DESTINATION_PATH, path);
}

bool DestinationDirectoryDialog::OnInitDialog() {
  PropertyPage::OnInitDialog();
  // The path is chosen through Browse... alone; Tab goes past the button.
  if (qm::fw::Window* browse = GetDlgItem(IDC_BROWSE)) browse->ModifyStyle(WS_TABSTOP, 0);
  ShowPath(Settings().destinationPath);
  UpdateSpaceInfo();
  return false;
}

LRESULT DestinationDirectoryDialog::OnWizardNext() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardNext();
}

LRESULT DestinationDirectoryDialog::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return PropertyPage::OnWizardBack();
}

void DestinationDirectoryDialog::ShowPath(const std::string& text) {
  path = text;
  UpdateData(false);
}

void DestinationDirectoryDialog::UpdateSpaceInfo() {
  if (!Handle()) return;
  UpdateData(true);

  // The first character names the drive as it stands, whatever it is.
  const char drive = path.empty() ? 'c' : path[0];
  const std::string root = std::string(1, drive) + ":\\";
  const std::int32_t freeKb = GetDiskFreeKb(root);

  std::string availableOn;
  qm::fw::LoadString(IDS_AVAILABLE_ON, availableOn);
  availableLabel = qm::fw::Format("%s %s:", availableOn.c_str(), root.c_str());
  availableText = qm::fw::Format("%ld Kb", static_cast<long>(freeKb));
  const std::uint32_t requiredKb = Settings().requiredSizeKb;
  // The size is shown as the signed 32-bit number it was summed as: a
  // configuration that lists a negative size shows a negative total, not
  // its bit pattern read as a huge positive one.
  requiredText = qm::fw::Format("%ld Kb", static_cast<long>(static_cast<std::int32_t>(requiredKb)));

  if (auto* sheet = dynamic_cast<Sheet*>(GetSheet()))
    sheet->insufficientSpace = static_cast<std::uint32_t>(freeKb) < requiredKb;

  SetDlgItemText(IDC_AVAILABLE_TEXT, availableText);
  SetDlgItemText(IDC_AVAILABLE_LABEL, availableLabel);
  SetDlgItemText(IDC_REQUIRED_TEXT, requiredText);
}
