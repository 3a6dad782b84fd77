// InstallationType: the page that chooses the kind of installation. A click
// on a type stores it in the settings at once; only "Full" can be chosen.
#pragma once

#include "platform/framework/PropertyPage.h"

class InstallationType : public qm::fw::PropertyPage {
 public:
  InstallationType();

  bool OnInitDialog() override;
  bool OnSetActive() override;
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;

 protected:
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
};
