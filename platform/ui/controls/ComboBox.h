// The COMBOBOX class with CBS_DROPDOWN: an edit field (a child EDIT window,
// id 1001) beside a drop-down button, and a list (a LISTBOX of class
// "ComboLBox", a pop-up window owned by the combo box's top-level window)
// that drops below the field. What the units of the combo box share:
// ComboBox.cpp (messages, the edit field, the selection), ComboBoxDropDown.cpp
// (the dropped list and the loop that runs while it is open) and
// ComboBoxPaint.cpp (layout and drawing). The order of the notifications is
// described with the CBN_ codes in platform/ui/Controls.h.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

namespace qm::ui::controls {

constexpr int kComboEditId = 1001;
constexpr int kComboListId = 1000;

struct ComboState {
  HWND edit = nullptr;
  HWND list = nullptr;
  WNDPROC editProc = nullptr;  // the edit's own procedure, under the combo box's
  HFONT font = nullptr;
  int droppedHeight = 0;   // the height with the list dropped, as the program gave it
  int selection = -1;      // what CB_GETCURSEL answers; the list only highlights while dropped
  bool dropped = false;
  bool tracking = false;   // the loop of the dropped list runs
  bool buttonHeld = false;  // the mouse holds the button down: drawn pushed
  bool focused = false;    // the edit field has the focus
  bool quietEdit = false;  // the combo box itself sets the edit's text: no CBN_EDIT* for it
  bool sizing = false;     // the combo box sets its own height
  bool listScrolls = false;  // WS_VSCROLL was asked for: the list's, not the combo box's own
};

// Null for a window that is not a combo box.
ComboState* ComboOf(HWND combo);

// The selection field's height: the font's height plus the frame and margins.
int FieldHeight(HWND combo, const ComboState& state);
// In the combo box's client coordinates.
RECT ButtonRect(HWND combo);
RECT EditRect(HWND combo);
// Keeps the window at the field's height and puts the edit in its place.
void Layout(HWND combo, ComboState& state);
void PaintCombo(HWND combo, HDC dc, const ComboState& state);

// The edit field shows `text` with all of it selected; sends no CBN_EDIT*.
void SetEditQuietly(HWND combo, const std::string& text);
// The text of item `index` ("" for -1) into the edit field.
void ShowItemInEdit(HWND combo, int index);

// CBN_DROPDOWN, then the list shows below the field (above, where the
// screen ends) with the selection highlighted. `byMouse`: the button is held
// and drawn pushed until the mouse lets go of it.
void DropDown(HWND combo, bool byMouse);
// CBN_SELENDOK or CBN_SELENDCANCEL, the list hides, CBN_CLOSEUP. Accepted,
// the highlighted item becomes the selection; then CBN_SELCHANGE follows
// when it changed, or always when `reportChoice` (a click on an item).
// Cancelled, the highlight goes back to the selection.
void CloseUp(HWND combo, bool accept, bool reportChoice = false);
// The window system's modal loop while the list is dropped: it ends when
// the list closes.
void TrackDropDown(HWND combo);
// Moves the selection by `delta` items (Up, Down, Page Up, Page Down): in
// the dropped list CBN_SELCHANGE; with the list closed CBN_SELENDOK then
// CBN_SELCHANGE. The edit field follows.
void MoveSelection(HWND combo, int delta);
// Items a page key moves by: the dropped list's rows less one.
int PageSize(HWND combo);

}  // namespace qm::ui::controls
