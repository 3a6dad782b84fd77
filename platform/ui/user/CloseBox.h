// Greys a window's close box, for windows that offer no way to dismiss them
// without an answer (a question with no Cancel choice). A greyed close box
// does nothing when clicked and Alt+F4 leaves the window open. Windows of a
// CS_NOCLOSE class have it greyed from the start.
#pragma once

#include "platform/ui/WinUser.h"

namespace qm::ui::user {

void DisableCloseBox(HWND hwnd, bool disable);

}  // namespace qm::ui::user
