// A window painted in one colour: what tests of the screen and of
// subclassed controls paint when only the place of the paint matters.
// Header only.
#pragma once

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

// Answers a WM_PAINT by filling the whole client area with `color`.
inline LRESULT PaintClient(HWND hwnd, COLORREF color) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &paint);
  return 0;
}

}  // namespace qm::test
