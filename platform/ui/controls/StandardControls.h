// The standard control classes (BUTTON, STATIC, EDIT, msctls_progress32) and
// the dialog class. The dialog manager and the message box register them on
// first use; code that creates controls outside a dialog calls this once
// before its first CreateWindowExA of them. Calling it again does nothing.
#pragma once

namespace qm::ui {

void RegisterStandardControls();

}  // namespace qm::ui
