// The end of a program's windows. A window still alive when the program
// exits is destroyed then, as the system destroys the windows a process
// leaves behind: each gets its WM_DESTROY and WM_NCDESTROY, so the state its
// class procedure keeps and the framework object bound to it are released
// the way every other destruction releases them. The framework's
// RunApplication asks for this when the program's run is over.
#pragma once

namespace qm::ui {

// Destroys every window still alive when the process exits; call it once the
// objects the windows' handlers use exist (the framework calls it when the
// run is over).
void DestroyWindowsAtExit();
// Destroys every top-level window, with its owned windows and children, now.
void DestroyAllWindows();

}  // namespace qm::ui
