// A window's rectangles as values: its frame on the screen, its client
// area, and a child's place in its parent's client area. Header-only.
#pragma once

#include "platform/ui/WinUser.h"

namespace qm::test {

inline RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

inline RECT ClientRect(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return rect;
}

// Where `child`'s frame lies in `parent`'s client coordinates.
inline RECT RectIn(HWND parent, HWND child) {
  RECT rect = WindowRect(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace qm::test
