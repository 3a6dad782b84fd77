// The dialog manager's own record of a dialog window, kept behind the
// DWLP_* slots of the dialog's extra window bytes.
#pragma once

#include <vector>

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace qm::ui::dialogs {

// Where the record's pointer lives among the DLGWINDOWEXTRA bytes, after
// DWLP_MSGRESULT, DWLP_DLGPROC and DWLP_USER.
constexpr int kStateSlot = 24;

struct BaseUnits {
  int x = 0;
  int y = 0;
};

struct DialogState {
  HFONT font = nullptr;
  bool ownsFont = false;
  BaseUnits units;
  int defaultId = 0;  // 0: none set; Enter then means IDOK
  HWND savedFocus = nullptr;
  bool initialFocusPending = false;  // the first focus also selects an edit's text
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
};

bool IsDialogWindow(HWND hwnd);
// Null for windows that are not dialogs.
DialogState* StateOf(HWND dialog);

// How much larger than its client area the window is: the frame and the
// caption. Measured from the client origin, so it holds for windows too
// small to have a client area yet.
SIZE FrameSize(HWND window);

// Rounded a * b / c, as the dialog unit conversions need.
int MulDivRounded(int a, int b, int c);
BaseUnits MeasureBaseUnits(HFONT font);

// The controls the dialog manager navigates: the dialog's children in
// z-order, with the children of WS_EX_CONTROLPARENT windows (nested child
// dialogs) taking the place of their container.
std::vector<HWND> NavigableItems(HWND dialog);
// The outermost dialog holding a control, the one whose keyboard handling
// applies to it; null when the control is in no dialog.
HWND OuterDialog(HWND control);
// The item with that id anywhere among the navigable items.
HWND FindItem(HWND dialog, int id);
// Focuses a control the way keyboard navigation does: edits get all their
// text selected.
void FocusControl(HWND control);
// Where the focus goes when the dialog gets it back.
void RestoreFocus(HWND dialog);
void UpdateDefaultButtonLook(HWND dialog, HWND focus);

LRESULT DialogCode(HWND control, const MSG* msg = nullptr);

}  // namespace qm::ui::dialogs

namespace qm::ui::dialogs {

// Creates the dialog window and its controls, sends WM_INITDIALOG and shows
// the dialog when its template says WS_VISIBLE. Null when it could not be
// created or the dialog procedure destroyed it during WM_INITDIALOG.
HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam, bool modal);

}  // namespace qm::ui::dialogs
