// The installer's wizard sheets are heap objects that live until the program
// ends, reachable only through the main window that opened them. A test that
// ends a main window or a sheet before its process ends deletes the sheet
// objects itself, once their windows are gone.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/PropertySheet.h"

namespace qm::test {

// The property-sheet objects bound to the top-level window `hwnd` and to the
// windows it owns, to be deleted by the caller once it has destroyed the
// windows (a modeless sheet's window may also go by itself, on Finish).
std::vector<std::unique_ptr<qm::fw::PropertySheet>> TakeSheets(HWND hwnd);

// Destroys `hwnd` with the windows it owns, then deletes the sheet objects
// that were bound to them.
void DestroyWithSheets(HWND hwnd);

}  // namespace qm::test
