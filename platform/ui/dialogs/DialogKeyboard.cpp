// The dialog manager's keyboard interface: Tab and Shift+Tab over the tab
// stops, arrows within a group, Enter for the default button, Esc for
// Cancel, and access keys marked with & in control texts.
#include <string>
#include <vector>

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"
#include "platform/ui/Controls.h"
#include "platform/ui/dialogs/DialogState.h"
#include "platform/ui/user/AccessKey.h"

using namespace qm::ui::dialogs;

namespace {

using qm::ui::user::AccessKeyOf;

std::string TextOf(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

bool HonoursPrefix(HWND item, LRESULT code) {
  if (!(code & DLGC_STATIC)) return true;
  char name[16] = {};
  GetClassNameA(item, name, sizeof name);
  DWORD style = static_cast<DWORD>(GetWindowLongA(item, GWL_STYLE));
  if (std::string(name) == WC_STATICA) {
    DWORD type = style & SS_TYPEMASK;
    if (style & SS_NOPREFIX) return false;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE;
  }
  return true;
}

// A label's access key acts on the control after it: the next one that
// can take the focus.
HWND ControlAfterLabel(const std::vector<HWND>& items, size_t label) {
  for (size_t i = label + 1; i < items.size(); ++i) {
    HWND item = items[i];
    if (!IsWindowVisible(item)) continue;
    if (DialogCode(item) & DLGC_STATIC) continue;
    return IsWindowEnabled(item) ? item : nullptr;
  }
  return nullptr;
}

void Activate(HWND control) {
  LRESULT code = DialogCode(control);
  if (code & DLGC_BUTTON)
    SendMessageA(control, BM_CLICK, 0, 0);
  else
    FocusControl(control);
}

bool HandleAccessKey(HWND dialog, HWND from, char32_t key) {
  if (key == 0) return false;
  key = qm::kernel::UpcaseNameChar(key);
  std::vector<HWND> items = NavigableItems(dialog);
  if (items.empty()) return false;
  size_t start = items.size() - 1;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == from) start = i;
  for (size_t step = 1; step <= items.size(); ++step) {
    size_t index = (start + step) % items.size();
    HWND item = items[index];
    if (!IsWindowVisible(item)) continue;
    LRESULT code = DialogCode(item);
    if (!HonoursPrefix(item, code) || AccessKeyOf(TextOf(item)) != key) continue;
    if (code & DLGC_STATIC) {
      if (HWND next = ControlAfterLabel(items, index)) Activate(next);
      return true;
    }
    if (!IsWindowEnabled(item)) continue;
    Activate(item);
    return true;
  }
  return false;
}

void PressDefaultButton(HWND dialog) {
  HWND focus = GetFocus();
  LRESULT focusCode = focus && IsChild(dialog, focus) ? DialogCode(focus) : 0;
  int id = IDOK;
  HWND button = nullptr;
  if (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
    button = focus;
    id = GetDlgCtrlID(focus);
  } else {
    DWORD defaultId = static_cast<DWORD>(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    if (HIWORD(defaultId) == DC_HASDEFID) id = LOWORD(defaultId);
    button = FindItem(dialog, id);
  }
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  HWND target = button ? GetParent(button) : dialog;
  SendMessageA(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressCancel(HWND dialog) {
  HWND button = FindItem(dialog, IDCANCEL);
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  HWND target = button ? GetParent(button) : dialog;
  SendMessageA(target, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, from, previous);
  if (!next || next == from) return;
  FocusControl(next);
  if (DialogCode(next) & DLGC_RADIOBUTTON) SendMessageA(next, BM_CLICK, 0, 0);
}

bool HandleKeyDown(HWND dialog, const MSG* msg) {
  LRESULT code = DialogCode(msg->hwnd, msg);
  if (code & DLGC_WANTMESSAGE) return false;
  switch (msg->wParam) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      bool previous = GetKeyState(VK_SHIFT) < 0;
      HWND from = GetFocus();
      if (from && !IsChild(dialog, from)) from = nullptr;
      HWND next = GetNextDlgTabItem(dialog, from, previous);
      if (next) FocusControl(next);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      if (msg->hwnd != dialog) MoveInGroup(dialog, msg->hwnd, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      return true;
    case VK_RETURN:
      PressDefaultButton(dialog);
      return true;
    case VK_ESCAPE:
      PressCancel(dialog);
      return true;
    default:
      return false;
  }
}

bool HandleChar(HWND dialog, const MSG* msg) {
  LRESULT code = DialogCode(msg->hwnd, msg);
  if (code & DLGC_WANTMESSAGE) return false;
  // The characters of the keys handled above never reach the controls.
  if (msg->wParam == '\t' && !(code & DLGC_WANTTAB)) return true;
  if (msg->wParam == '\r' || msg->wParam == 0x1B) return true;
  if (code & DLGC_WANTCHARS) return false;
  return HandleAccessKey(dialog, msg->hwnd, static_cast<char32_t>(msg->wParam));
}

}  // namespace

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!dialog || !msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  bool handled = false;
  switch (msg->message) {
    case WM_KEYDOWN:
      handled = HandleKeyDown(dialog, msg);
      break;
    case WM_CHAR:
      handled = HandleChar(dialog, msg);
      break;
    case WM_SYSCHAR:
      handled = HandleAccessKey(dialog, msg->hwnd, static_cast<char32_t>(msg->wParam));
      break;
    default:
      break;
  }
  if (!handled) {
    TranslateMessage(msg);
    DispatchMessageA(msg);
  }
  return TRUE;
}
