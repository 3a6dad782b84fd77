// The host window (the sdl backend's own window) stands for the program's
// main window, as a taskbar button does on the classic desktop: it shows the
// main window's caption and class icon, the main window's minimize box
// minimizes it, and restoring it restores the main window.
#pragma once

#include "platform/ui/WinUser.h"

namespace qm::ui::user {

// The main window: the oldest visible top-level window that has a caption
// and no owner; null when there is none.
HWND HostMainWindow();
// Hands the main window's caption and icon to the display when they changed.
void SyncHostWindow();
// The host window was restored: so is the main window, when it is minimized.
void HostWindowRestored();

}  // namespace qm::ui::user
