// The combo box's layout and look: a sunken field as high as its font
// needs, the edit inside it, and at its right the drop-down button, a
// raised grey button with a black triangle that lies flat while the mouse
// holds it, its triangle greyed and etched when the combo box is disabled.
#include <algorithm>

#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/ControlSupport.h"

namespace qm::ui::controls {

namespace {

constexpr int kEdge = 2;  // the sunken border

// Rows of 7, 5, 3 and 1 pixels, pointing down, centred in the button.
void DownTriangle(HDC dc, const RECT& button, int shift, int color) {
  const int cx = (button.left + button.right - 1) / 2 + shift;
  const int cy = (button.top + button.bottom - 1) / 2 + shift;
  for (int row = 0; row < 4; ++row)
    FillSysColor(dc, RECT{cx - 3 + row, cy - 1 + row, cx + 4 - row, cy + row}, color);
}

void DrawButton(HDC dc, const RECT& button, bool pushed, bool enabled) {
  FillSysColor(dc, button, COLOR_3DFACE);
  if (pushed) {
    Frame3d(dc, button, COLOR_3DSHADOW, COLOR_3DSHADOW);
  } else {
    Frame3d(dc, button, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Frame3d(dc, RECT{button.left + 1, button.top + 1, button.right - 1, button.bottom - 1}, COLOR_3DHILIGHT,
            COLOR_3DSHADOW);
  }
  const int shift = pushed ? 1 : 0;
  if (enabled) {
    DownTriangle(dc, button, shift, COLOR_BTNTEXT);
  } else {
    DownTriangle(dc, button, shift + 1, COLOR_3DHILIGHT);
    DownTriangle(dc, button, shift, COLOR_3DSHADOW);
  }
}

}  // namespace

int FieldHeight(HWND combo, const ComboState& state) { return FontHeight(combo, state.font) + 2 + 3 * kEdge; }

RECT ButtonRect(HWND combo) {
  RECT client{};
  GetClientRect(combo, &client);
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{std::max(static_cast<int>(client.left) + kEdge, static_cast<int>(client.right) - kEdge - width), kEdge,
              client.right - kEdge, std::max(static_cast<int>(client.bottom) - kEdge, kEdge)};
}

RECT EditRect(HWND combo) {
  RECT client{};
  GetClientRect(combo, &client);
  const RECT button = ButtonRect(combo);
  return RECT{kEdge + 1, kEdge + 1, std::max(kEdge + 1, static_cast<int>(button.left) - 1),
              std::max(kEdge + 1, static_cast<int>(client.bottom) - kEdge - 1)};
}

void Layout(HWND combo, ComboState& state) {
  RECT window{};
  GetWindowRect(combo, &window);
  const int height = FieldHeight(combo, state);
  if (window.bottom - window.top != height) {
    // Any other height the program gives is the height with the list dropped.
    state.droppedHeight = window.bottom - window.top;
    state.sizing = true;
    SetWindowPos(combo, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (ComboState* still = ComboOf(combo)) still->sizing = false;
  }
  const RECT edit = EditRect(combo);
  if (state.edit)
    MoveWindow(state.edit, edit.left, edit.top, edit.right - edit.left, edit.bottom - edit.top, TRUE);
}

void PaintCombo(HWND combo, HDC dc, const ComboState& state) {
  RECT client{};
  GetClientRect(combo, &client);
  const bool enabled = IsWindowEnabled(combo);
  RECT inner = client;
  SunkenEdge(dc, inner);
  HBRUSH brush = ControlColors(combo, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  const RECT button = ButtonRect(combo);
  RECT field{inner.left, inner.top, button.left, inner.bottom};
  if (field.right > field.left && field.bottom > field.top) FillRect(dc, &field, brush);
  if (button.right > button.left && button.bottom > button.top) DrawButton(dc, button, state.buttonHeld, enabled);
}

}  // namespace qm::ui::controls
