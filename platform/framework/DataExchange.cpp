#include "platform/framework/DataExchange.h"

#include <vector>

#include "platform/framework/Dialog.h"
#include "platform/ui/Controls.h"

namespace qm::fw {

HWND DataExchange::PrepareControl(int id) {
  HWND control = ::GetDlgItem(dialog.Handle(), id);
  if (!control) Fail();
  return control;
}

void DdxText(DataExchange& exchange, int id, std::string& value) {
  HWND control = exchange.PrepareControl(id);
  if (!control) return;
  if (exchange.saveAndValidate) {
    value = Window::FromHandle(control)->GetWindowText();
  } else {
    SetWindowTextA(control, value.c_str());
  }
}

void DdxCheck(DataExchange& exchange, int id, int& value) {
  HWND control = exchange.PrepareControl(id);
  if (!control) return;
  if (exchange.saveAndValidate) {
    value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > static_cast<int>(BST_INDETERMINATE)) value = BST_UNCHECKED;
    SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

namespace {

bool IsRadioButton(HWND control) {
  const LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
  if (code & DLGC_RADIOBUTTON) return true;
  const DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The group: the first button and the radio buttons after it in window
// order, up to the next control that starts a group.
std::vector<HWND> RadioGroup(HWND first) {
  std::vector<HWND> group;
  for (HWND control = first; control; control = GetWindow(control, GW_HWNDNEXT)) {
    if (control != first && (GetWindowLongA(control, GWL_STYLE) & WS_GROUP)) break;
    if (!IsRadioButton(control)) break;
    group.push_back(control);
  }
  return group;
}

}  // namespace

void DdxRadio(DataExchange& exchange, int firstId, int& value) {
  HWND first = exchange.PrepareControl(firstId);
  if (!first) return;
  const std::vector<HWND> group = RadioGroup(first);
  if (exchange.saveAndValidate) value = -1;
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (exchange.saveAndValidate) {
      if (SendMessageA(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) value = static_cast<int>(i);
    } else {
      SendMessageA(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DdxControl(DataExchange& exchange, int id, Window& control) {
  if (control.Handle()) return;
  HWND item = exchange.PrepareControl(id);
  if (!item) return;
  if (!control.SubclassWindow(item)) exchange.Fail();
}

}  // namespace qm::fw
