// Modal dialogs: the dialog runs the window system's modal loop (its owner
// disabled, the dialog manager as the loop's filter) until EndDialog, or a
// WM_QUIT, which is posted again for the loop outside.
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/dialogs/DialogState.h"
#include "platform/ui/user/ModalLoop.h"

using namespace qm::ui::dialogs;
using qm::ui::user::ModalFilterResult;
using qm::ui::user::RunModalLoop;

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate* dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
  if (!dialogTemplate) return -1;
  HWND owner = parent ? GetAncestorRoot(parent) : nullptr;
  HWND dialog = CreateFromTemplate(instance, *dialogTemplate, owner, dialogProc, initParam, true);
  if (!dialog) return -1;

  if (DialogState* state = StateOf(dialog); state && !state->ended) {
    RunModalLoop(
        owner, dialog,
        [dialog] {
          const DialogState* running = StateOf(dialog);
          return running && !running->ended;
        },
        [dialog](MSG& msg) {
          return IsDialogMessageA(dialog, &msg) ? ModalFilterResult::Handled : ModalFilterResult::Dispatch;
        });
  }
  INT_PTR result = 0;
  if (DialogState* state = StateOf(dialog)) result = state->result;
  if (IsWindow(dialog)) DestroyWindow(dialog);
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
