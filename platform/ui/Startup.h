// Starting the window system. A program calls StartWindowSystem once, before
// it creates its first window: the framework's RunApplication does, before
// InitInstance; a program or test that uses the window system without an
// application object calls it itself. It
// - registers the standard control classes and the dialog class;
// - chooses the display backend from the environment (see DisplayBackend.h),
//   unless one is in use already;
// - starts the unattended run when QUELLMOOR_SCRIPT names a response script:
//   its steps are played from the program's first idle point on, on the
//   headless display.
// Calling it again does nothing more: a script already playing is not
// started twice, and a display already in use stays.
#pragma once

namespace qm::ui {

void StartWindowSystem();

}  // namespace qm::ui
