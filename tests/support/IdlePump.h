// The idle pump of every window-system test, on the automation driver's
// RunUntilIdle: dispatches what the queue holds, as a message loop does
// before it would wait for input.
#pragma once

#include <optional>

#include "platform/ui/WinUser.h"

namespace qm::test {

// Until the queue is empty (timers that are not yet due stay). A WM_QUIT
// stops it and is put back for the loop outside. With a dialog, each message
// goes through that dialog's keyboard handling first (IsDialogMessageA).
void Pump(HWND dialog = nullptr);
// The same, but a WM_QUIT is taken out: its exit code, or nothing when no
// quit message came.
std::optional<WPARAM> PumpUntilQuit();

}  // namespace qm::test
