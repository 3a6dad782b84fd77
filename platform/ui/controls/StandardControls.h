// The standard control classes (BUTTON, STATIC, EDIT, msctls_progress32,
// SysTreeView32) and the dialog class. The window system registers them the
// first time a program names one of them; calling this registers them at
// once. Calling it again does nothing.
#pragma once

namespace qm::ui {

void RegisterStandardControls();

}  // namespace qm::ui
