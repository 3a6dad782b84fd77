// Drawing one line of text with the DC's font, colours and background mode.
#pragma once

#include <string_view>

#include "platform/ui/gdi/DeviceContext.h"

namespace qm::ui::gdi {

// Draws `text` with the cell's top-left corner at logical (x, y); the
// character at `underlineIndex` (if any) gets an underline of its own.
void DrawTextRun(DeviceContext& dc, int x, int y, std::u32string_view text, int underlineIndex = -1);

}  // namespace qm::ui::gdi
