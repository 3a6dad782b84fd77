// The "Please wait..." box shown while start-up measures the source trees.
// It is modeless, has no buttons, and ends only when its creator destroys
// its window; the object then deletes itself.
#pragma once

#include "platform/framework/Dialog.h"

class WaitingDialog : public qm::fw::Dialog {
 public:
  WaitingDialog();

  // Enter and Esc must not take the box away while the measurement runs.
  void OnOK() override;
  void OnCancel() override;

 protected:
  void PostNcDestroy() override;
};
