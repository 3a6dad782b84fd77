// Addressing a dialog's controls by id.
#include "platform/ui/Controls.h"
#include "platform/ui/dialogs/DialogState.h"

HWND GetDlgItem(HWND dialog, int id) {
  if (!dialog) return nullptr;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == id) return child;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) { return hwnd ? static_cast<int>(GetWindowLongPtrA(hwnd, GWLP_ID)) : 0; }

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (text && maxCount > 0) text[0] = '\0';
    return 0;
  }
  int copied = GetWindowTextA(item, text, maxCount);
  return copied > 0 ? static_cast<UINT>(copied) : 0;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id)
    if (HWND item = GetDlgItem(dialog, id)) SendMessageA(item, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}
