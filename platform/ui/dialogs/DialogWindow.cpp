// The dialog window class and its window procedure, DefDlgProcA: the
// dialog procedure is asked first, and what it leaves is handled here.
#include <cstring>

#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/dialogs/DialogHooks.h"
#include "platform/ui/dialogs/DialogState.h"

namespace qm::ui::dialogs {

namespace {

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool ReturnsProcResult(UINT message) {
  return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

void SaveFocus(HWND dialog, DialogState& state) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) state.savedFocus = focus;
}

LRESULT EraseBackground(HWND dialog, HDC dc) {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  RECT client{};
  GetClientRect(dialog, &client);
  FillRect(dc, &client, brush);
  return 1;
}

void PostCancel(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) {
    MessageBeep(0);
    return;
  }
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

LRESULT DefaultHandling(HWND dialog, DialogState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      // The controls fall back to the system colours themselves.
      return 0;
    case WM_SETFONT:
      state.font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state.font);
    case WM_CLOSE:
      PostCancel(dialog);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        SaveFocus(dialog, state);
      else
        RestoreFocus(dialog);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog);
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam) SaveFocus(dialog, state);
      return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(static_cast<DWORD_PTR>(lParam))
                        ? reinterpret_cast<HWND>(wParam)
                        : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (target) FocusControl(target);
      return 0;
    }
    case DM_GETDEFID:
      if (state.defaultId == 0) return 0;
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(state.defaultId), DC_HASDEFID));
    case DM_SETDEFID: {
      state.defaultId = static_cast<int>(wParam);
      HWND focus = GetFocus();
      UpdateDefaultButtonLook(dialog, focus && IsChild(dialog, focus) ? focus : nullptr);
      return TRUE;
    }
    case WM_COMMAND:
      // What OK and Cancel mean is the dialog procedure's to decide.
      return 0;
    default:
      return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

}  // namespace

bool IsDialogWindow(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return false;
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return std::strcmp(name, kDialogClassName) == 0;
}

DialogState* StateOf(HWND dialog) {
  if (!IsDialogWindow(dialog)) return nullptr;
  return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, kStateSlot));
}

void RegisterDialogClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_SAVEBITS;
  wc.lpfnWndProc = DefDlgProcA;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kDialogClassName;
  RegisterClassExA(&wc);
}

}  // namespace qm::ui::dialogs

using qm::ui::dialogs::DialogState;

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE && !GetWindowLongPtrA(dialog, qm::ui::dialogs::kStateSlot))
    SetWindowLongPtrA(dialog, qm::ui::dialogs::kStateSlot, reinterpret_cast<LONG_PTR>(new DialogState()));
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, qm::ui::dialogs::kStateSlot));

  if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC))) {
    LONG_PTR handled = proc(dialog, message, wParam, lParam);
    if (handled) {
      if (qm::ui::dialogs::ReturnsProcResult(message)) return handled;
      return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
    }
    if (!IsWindow(dialog)) return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, qm::ui::dialogs::kStateSlot, 0);
    LRESULT result = DefWindowProcA(dialog, message, wParam, lParam);
    if (state && state->ownsFont && state->font) DeleteObject(state->font);
    delete state;
    return result;
  }
  if (!state) return DefWindowProcA(dialog, message, wParam, lParam);
  return qm::ui::dialogs::DefaultHandling(dialog, *state, message, wParam, lParam);
}
