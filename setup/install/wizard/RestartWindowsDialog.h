// RestartWindowsDialog: asks whether to restart the computer now. IDOK
// ("Restart Now", Enter) restarts; IDCANCEL ("Don't Restart", Esc, the close
// box) does not. The caller decides.
#pragma once

#include "platform/framework/Dialog.h"

class RestartWindowsDialog : public qm::fw::Dialog {
 public:
  explicit RestartWindowsDialog(qm::fw::Window* parent = nullptr);
};
