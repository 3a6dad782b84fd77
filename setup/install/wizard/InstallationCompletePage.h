// The completion sheet's last page: the game is installed; the release notes
// (and the web page, whose box the template keeps disabled) can be chosen,
// and Finish hands over to the main window, which carries everything out and
// ends the program.
#pragma once

#include "platform/framework/Button.h"
#include "platform/framework/PropertyPage.h"

class InstallationCompletePage : public qm::fw::PropertyPage {
 public:
  InstallationCompletePage();

  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnWizardFinish() override;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  qm::fw::Button releaseNotesBox;
  qm::fw::Button webPageBox;
};
