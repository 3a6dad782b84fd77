// The completion sheet's first page: records the installation each time it
// becomes current and takes the choice of the program group and the desktop
// link. Its cancel handling is the completion sheet's one way to the
// resume/exit question.
#pragma once

#include "platform/framework/Button.h"
#include "platform/framework/PropertyPage.h"

class CreateDesktopLinkPage : public qm::fw::PropertyPage {
 public:
  CreateDesktopLinkPage();

  bool OnInitDialog() override;
  bool OnSetActive() override;
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;
  void OnCancel() override;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  qm::fw::Button programGroupBox;
  qm::fw::Button desktopLinkBox;
};
