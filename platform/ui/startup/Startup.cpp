#include "platform/ui/Startup.h"

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/automation/ScriptStart.h"
#include "platform/ui/controls/StandardControls.h"

namespace qm::ui {

void StartWindowSystem() {
  RegisterStandardControls();
  // Chosen now rather than at the first window, so a display that cannot be
  // had is known before the program starts its work.
  Display();
  automation::StartScriptFromEnvironment();
}

}  // namespace qm::ui
