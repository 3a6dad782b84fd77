#include "platform/ui/backend/SdlScaling.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace qm::ui::sdl {

namespace {

constexpr int MaxScale = 8;
constexpr float BaseDpi = 96.0f;

}  // namespace

ScreenPlacement PlaceScreen(SIZE screen, SIZE host) {
  ScreenPlacement placement{screen, {0, 0, 0, 0}};
  if (screen.cx <= 0 || screen.cy <= 0 || host.cx <= 0 || host.cy <= 0) return placement;
  LONG factor = std::min(host.cx / screen.cx, host.cy / screen.cy);
  LONG width = screen.cx * factor, height = screen.cy * factor;
  if (factor == 0) {
    // Shrunk: the side that is shorter in proportion fills the host.
    if (std::int64_t(host.cx) * screen.cy <= std::int64_t(host.cy) * screen.cx) {
      width = host.cx;
      height = std::max<LONG>(1, LONG(std::int64_t(screen.cy) * host.cx / screen.cx));
    } else {
      height = host.cy;
      width = std::max<LONG>(1, LONG(std::int64_t(screen.cx) * host.cy / screen.cy));
    }
  }
  LONG left = (host.cx - width) / 2, top = (host.cy - height) / 2;
  placement.area = {left, top, left + width, top + height};
  return placement;
}

std::optional<POINT> ScreenPointAt(const ScreenPlacement& placement, POINT host) {
  const RECT& a = placement.area;
  if (host.x < a.left || host.y < a.top || host.x >= a.right || host.y >= a.bottom) return std::nullopt;
  return NearestScreenPoint(placement, host);
}

POINT NearestScreenPoint(const ScreenPlacement& placement, POINT host) {
  const RECT& a = placement.area;
  LONG width = a.right - a.left, height = a.bottom - a.top;
  if (width <= 0 || height <= 0) return {0, 0};
  LONG x = std::clamp(host.x, a.left, a.right - 1) - a.left;
  LONG y = std::clamp(host.y, a.top, a.bottom - 1) - a.top;
  // Each screen pixel covers the host pixels from i*width/screen on, so the
  // inverse is the floor of the scaled offset.
  return {LONG(std::int64_t(x) * placement.screen.cx / width), LONG(std::int64_t(y) * placement.screen.cy / height)};
}

int ScaleForDpi(float dpi) {
  if (!(dpi > 0)) return 1;
  // 168 dpi and more (1.75 times the base) count as twice, and so on.
  int factor = static_cast<int>(dpi / BaseDpi + 0.25f);
  return std::clamp(factor, 1, MaxScale);
}

int ParseScale(const char* text) {
  if (!text || !*text) return 0;
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 1 || value > MaxScale) return 0;
  return static_cast<int>(value);
}

int OpeningScale(int wanted, SIZE screen, SIZE usable) {
  int factor = std::clamp(wanted, 1, MaxScale);
  while (factor > 1 && (screen.cx * factor > usable.cx || screen.cy * factor > usable.cy)) --factor;
  return factor;
}

}  // namespace qm::ui::sdl
