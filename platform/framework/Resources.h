// The program's resources by id: strings, icons, bitmaps (GdiObject.h) and
// dialog templates (Dialog). The program registers them at start through
// platform/ui/Resources.h.
#pragma once

#include <string>

#include "platform/kernel/WinTypes.h"

namespace qm::fw {

// The instance handle the program's resources are loaded from.
HINSTANCE ResourceInstance();
// False, and text untouched, when there is no string of that id.
bool LoadString(UINT id, std::string& text);
// Null when there is no icon of that id.
HICON LoadIcon(UINT id);
// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace qm::fw
