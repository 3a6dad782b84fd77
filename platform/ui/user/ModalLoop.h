// The one nested loop for everything that holds the program until it is done:
// modal dialogs and message boxes, modal property sheets, dragging a window by
// its caption, and the popup menus and drop-down lists that track the mouse
// and keyboard until they close.
//
// RunModalLoop(owner, window, keepRunning, filter):
// - the owner (when given and enabled) is disabled for the loop's time, so
//   input to it and its owned windows is dropped at dispatch;
// - a window still hidden is shown and painted once its owner is disabled,
//   the order a modal dialog comes up in;
// - before each message keepRunning is asked, and the loop ends when it
//   answers false or the window is gone;
// - every message the queue hands out, for any window, goes to the filter
//   before it is translated and dispatched; the filter dispatches it, takes
//   it, or takes it and ends the loop;
// - a WM_QUIT ends the loop and is posted again for the loop outside;
// - at the end the owner is enabled again and, when the loop's window still
//   holds the activation, activated, so the activation returns to it rather
//   than to some other window once the window goes. The caller destroys or
//   hides its window afterwards.
//
// How each user fills it in:
// - A modal dialog: its owner, the dialog, "not ended and not destroyed",
//   and the dialog manager as filter (IsDialogMessageA: Handled).
// - A modal property sheet: the same, with PSM_ISDIALOGMESSAGE as filter.
// - A popup menu: no owner (a menu leaves its owner enabled and active),
//   the menu window, shown by the menu itself without activation before the
//   loop, and "not closed" as keepRunning. It takes the mouse capture, so
//   clicks outside its window come to it too, with the point outside its
//   client area; keyboard input reaches the filter addressed to the owner's
//   focus window, before any translation. The filter moves the selection on
//   arrow keys and mouse moves (Handled), chooses on Enter or a click on an
//   item, and answers EndLoop on Esc or a click outside the menu, which is
//   not dispatched (it only closes the menu). Every other message is
//   dispatched, so paint and timers go on under the menu.
// - A combo box's drop-down list: as a popup menu, with the list as window;
//   a click outside or Esc closes it without a choice, Enter or a click on
//   an item closes it with one.
#pragma once

#include <functional>

#include "platform/ui/WinUser.h"

namespace qm::ui::user {

// What the loop does with a message the filter has seen.
enum class ModalFilterResult {
  Dispatch,  // translated and dispatched as in any loop
  Handled,   // taken by the filter; nothing else sees it
  EndLoop,   // taken by the filter, and the loop ends
};

using ModalKeepRunning = std::function<bool()>;
using ModalFilter = std::function<ModalFilterResult(MSG& msg)>;

// For filters: mouse input, in the client area or not, and a press of any button.
inline bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP) || (message >= WM_NCMOUSEMOVE && message <= WM_NCRBUTTONUP);
}
inline bool IsButtonPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
         message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_NCLBUTTONDOWN ||
         message == WM_NCLBUTTONDBLCLK || message == WM_NCRBUTTONDOWN;
}

// False when a WM_QUIT ended the loop (it is in the queue again).
bool RunModalLoop(HWND owner, HWND window, const ModalKeepRunning& keepRunning, const ModalFilter& filter = {});

}  // namespace qm::ui::user
