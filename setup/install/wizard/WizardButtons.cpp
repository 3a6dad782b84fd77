#include "install/wizard/WizardButtons.h"

#include <string>

#include "install/resources/ResourceIds.h"
#include "platform/framework/Resources.h"

namespace {

struct ButtonLabel {
  int buttonId;
  UINT stringId;
  const char* fallback;
};

constexpr ButtonLabel kLabels[] = {
    {ID_WIZBACK, IDS_BACK, "Back"},
    {ID_WIZNEXT, IDS_NEXT, "Next"},
    {IDCANCEL, IDS_CANCEL, "Cancel"},
    {IDHELP, IDS_HELP, "Help"},
};

}  // namespace

void SetWizardButtonLabels(qm::fw::PropertySheet& sheet) {
  for (const ButtonLabel& label : kLabels) {
    std::string text;
    if (!qm::fw::LoadString(label.stringId, text)) text = label.fallback;
    if (qm::fw::Window* button = sheet.GetDlgItem(label.buttonId)) button->SetWindowText(text);
  }
}
