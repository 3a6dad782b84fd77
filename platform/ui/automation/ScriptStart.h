// Starting an unattended run: the response script at `path` is played from
// the program's first idle point on. The window system's start-up calls this
// when QUELLMOOR_SCRIPT names a script.
#pragma once

#include <string>

namespace qm::ui::automation {

// Does nothing when a script already plays.
void StartScript(const std::string& path);

}  // namespace qm::ui::automation
