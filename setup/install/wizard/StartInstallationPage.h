// StartInstallationPage: the wizard's last page. Its Next starts the
// installation, after asking whether to go on when the destination drive is
// short of space.
#pragma once

#include "platform/framework/PropertyPage.h"

class StartInstallationPage : public qm::fw::PropertyPage {
 public:
  StartInstallationPage();

  bool OnSetActive() override;
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;
};
