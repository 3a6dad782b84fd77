// The BUTTON class's state and painting, shared by its window procedure and
// its drawing code.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/WinGdi.h"

namespace qm::ui::controls {

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;     // drawn pressed in
  bool tracking = false;   // the mouse button went down on it and is held
  bool spaceDown = false;  // Space went down while it had the focus
  bool focused = false;
  HGDIOBJ image = nullptr;  // BS_ICON / BS_BITMAP
};

inline DWORD ButtonType(DWORD style) { return style & BS_TYPEMASK; }
inline bool IsPushType(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }
inline bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

void PaintButton(HWND hwnd, HDC dc, const ButtonState& state);

}  // namespace qm::ui::controls
