#include "platform/ui/automation/ScriptStart.h"

namespace qm::ui::automation {

void StartScriptFromEnvironment() {}

}  // namespace qm::ui::automation
