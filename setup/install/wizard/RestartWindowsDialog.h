// The question whether to restart the computer now: IDOK ("Restart Now" or
// Enter) or IDCANCEL ("Don't Restart", Esc or the close box). Run modally
// by its caller.
#pragma once

#include "platform/framework/Dialog.h"

class RestartWindowsDialog : public qm::fw::Dialog {
 public:
  explicit RestartWindowsDialog(qm::fw::Window* parent = nullptr);
};
