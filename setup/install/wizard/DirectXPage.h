// The completion sheet's second page: says whether the game's DirectX 7 is
// there and runs the DirectX runtime setup from the medium when the user
// leaves forwards with the box ticked.
#pragma once

#include "platform/framework/Button.h"
#include "platform/framework/PropertyPage.h"

class DirectXPage : public qm::fw::PropertyPage {
 public:
  DirectXPage();

  bool OnSetActive() override;
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;

 private:
  qm::fw::Window neededText;
  qm::fw::Window presentText;
  qm::fw::Button installBox;
};
