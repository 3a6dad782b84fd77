// The standard control classes (BUTTON, STATIC, EDIT, LISTBOX, COMBOBOX and
// the combo box's list, msctls_progress32, SysTreeView32) and the dialog
// class, registered by the window system's start-up (StartWindowSystem); each
// control of the platform adds its line here. Calling it again does nothing.
#pragma once

namespace qm::ui {

void RegisterStandardControls();

}  // namespace qm::ui
