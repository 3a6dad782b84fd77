// Key names of the driver and of response scripts ("Enter", "Shift+Tab", "Alt+F4").
#pragma once

#include <string>

namespace qm::ui::automation {

// Throws AutomationError for a name the driver cannot press.
void CheckKeyName(const std::string& name);

}  // namespace qm::ui::automation
