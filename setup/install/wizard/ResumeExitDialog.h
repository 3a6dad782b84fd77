// ResumeExitDialog: asked after a Cancel in a wizard. IDOK ("Resume", Enter)
// goes on with the wizard; IDCANCEL ("Exit Setup", Esc, the close box) ends
// setup. The caller decides what either means.
#pragma once

#include "platform/framework/Dialog.h"

class ResumeExitDialog : public qm::fw::Dialog {
 public:
  explicit ResumeExitDialog(qm::fw::Window* parent = nullptr);
};
