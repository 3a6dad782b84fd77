// Modal dialogs: the owner is disabled while the dialog runs its own
// message loop, which ends with EndDialog (or a WM_QUIT, which is posted
// again for the loop outside).
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/dialogs/DialogState.h"

using namespace qm::ui::dialogs;

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate* dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
  if (!dialogTemplate) return -1;
  HWND owner = parent ? GetAncestorRoot(parent) : nullptr;
  HWND dialog = CreateFromTemplate(instance, *dialogTemplate, owner, dialogProc, initParam, true);
  if (!dialog) return -1;

  bool ownerDisabled = false;
  INT_PTR result = 0;
  if (DialogState* state = StateOf(dialog); state && !state->ended) {
    if (owner && IsWindowEnabled(owner)) {
      EnableWindow(owner, FALSE);
      ownerDisabled = true;
    }
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    MSG msg{};
    for (;;) {
      state = StateOf(dialog);
      if (!state || state->ended) break;
      if (!GetMessageA(&msg, nullptr, 0, 0)) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!IsDialogMessageA(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  if (DialogState* state = StateOf(dialog)) result = state->result;

  // The owner is enabled and activated again before the dialog goes, so the
  // activation returns to it rather than to some other window.
  if (ownerDisabled) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) {
    if (owner && GetActiveWindow() == dialog) SetActiveWindow(owner);
    DestroyWindow(dialog);
  }
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = StateOf(dialog);
  if (!state) return FALSE;
  state->ended = true;
  state->result = result;
  if (state->modal)
    PostMessageA(dialog, WM_NULL, 0, 0);  // wakes the dialog's loop
  else
    ShowWindow(dialog, SW_HIDE);
  return TRUE;
}
