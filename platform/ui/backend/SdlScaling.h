// Where the emulated screen sits in the sdl backend's host window, and how
// host pixels map back to screen pixels. The screen keeps the size the
// program sees; the host window may be any size. Pure functions, so the
// mapping can be checked without a display.
#pragma once

#include <optional>

#include "platform/kernel/WinTypes.h"

namespace qm::ui::sdl {

struct ScreenPlacement {
  SIZE screen{};
  // The screen's picture in host pixels; what lies outside is bars.
  RECT area{};
};

// The largest whole factor that fits, centred, with bars around what is left
// over; a host smaller than the screen shows it shrunk to fit, proportions kept.
ScreenPlacement PlaceScreen(SIZE screen, SIZE host);
// The screen pixel a host pixel shows; none on the bars.
std::optional<POINT> ScreenPointAt(const ScreenPlacement& placement, POINT host);
// The screen pixel nearest to a host pixel, for the bars as well.
POINT NearestScreenPoint(const ScreenPlacement& placement, POINT host);

// The factor for a display of this many dots per inch: 2 on a HiDPI display.
int ScaleForDpi(float dpi);
// A factor given as text (QUELLMOOR_SCALE); 0 when it is not one.
int ParseScale(const char* text);
// The factor the host window opens with: the wanted one, or the largest
// smaller one whose window fits the usable part of the display; at least 1.
int OpeningScale(int wanted, SIZE screen, SIZE usable);

}  // namespace qm::ui::sdl
