#include "platform/ui/Startup.h"

#include <cstdlib>
#include <string>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/automation/ScriptStart.h"
#include "platform/ui/controls/StandardControls.h"

namespace qm::ui {

void StartWindowSystem() {
  RegisterStandardControls();
  const char* script = std::getenv("QUELLMOOR_SCRIPT");
  const bool unattended = script && *script;
  // Chosen now rather than at the first window, so a display that cannot be
  // had ends the program before it starts its work.
  ChooseDisplayFromEnvironment(unattended);
  if (unattended) automation::StartScript(script);
}

}  // namespace qm::ui
