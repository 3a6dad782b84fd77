// The top-level windows on the screen, and the check every window-system
// fixture makes at its end: a test that leaves a top-level window open
// fails, naming the window, and the window is closed so the next test starts
// on an empty screen.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"

namespace qm::test {

// Topmost first.
std::vector<HWND> TopLevelWindows();
std::string CaptionOf(HWND hwnd);

// Reports and destroys the top-level windows still open, then discards what
// their destruction left in the queue.
void CloseWindowsLeftOpen();

}  // namespace qm::test
