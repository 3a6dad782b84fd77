// What the driver's combo box and popup menu steps and its description of
// the open windows share.
#pragma once

#include <string>

#include "platform/ui/Automation.h"

namespace qm::ui::automation {

// The window of the popup menu that is open; null when none is.
HWND OpenMenuWindow();
// The menu's items as a script names them, separators as "-", greyed
// items marked: "&Open" "-" "&Delete" (greyed).
std::string DescribeMenuItems(HMENU menu);
// A combo box's entries: "C:\Games" "D:\Other".
std::string DescribeComboEntries(HWND combo);

}  // namespace qm::ui::automation
