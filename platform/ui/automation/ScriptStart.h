// Starting an unattended run: when QUELLMOOR_SCRIPT names a response script,
// the platform plays it from the program's first idle point on.
#pragma once

namespace qm::ui::automation {

void StartScriptFromEnvironment();

}  // namespace qm::ui::automation
