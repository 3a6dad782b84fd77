// What the controls and the class registration need from the dialog manager.
#pragma once

#include "platform/ui/WinUser.h"

namespace qm::ui::dialogs {

inline constexpr char kDialogClassName[] = "#32770";

void RegisterDialogClass();

// A control of a dialog got the focus: the push button that Enter would
// press gets the default look (the focused push button, else the dialog's
// default button), every other push button loses it.
void NoteFocusChange(HWND focusedControl);

}  // namespace qm::ui::dialogs
