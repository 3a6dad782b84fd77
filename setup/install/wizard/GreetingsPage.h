// GreetingsPage: the wizard's welcome page. It sets the labels of the
// wizard's buttons, and its cancel handling is the one place where a Cancel
// of the installation wizard is answered.
#pragma once

#include "platform/framework/PropertyPage.h"

class GreetingsPage : public qm::fw::PropertyPage {
 public:
  GreetingsPage();

  bool OnSetActive() override;
  LRESULT OnWizardNext() override;
  // Reached through the sheet's cancel, which tells every created page; this
  // page is always created, so the question comes exactly once.
  void OnCancel() override;
};
