// Which controls a dialog navigates, where its focus goes, and which push
// button looks like the default one.
#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/dialogs/DialogHooks.h"
#include "platform/ui/dialogs/DialogState.h"

namespace qm::ui::dialogs {

namespace {

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }
DWORD ExStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)); }

void Collect(HWND parent, std::vector<HWND>& items) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((ExStyle(child) & WS_EX_CONTROLPARENT) && (Style(child) & WS_VISIBLE) && !(Style(child) & WS_DISABLED))
      Collect(child, items);
    else
      items.push_back(child);
  }
}

bool IsPushButton(LRESULT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

}  // namespace

LRESULT DialogCode(HWND control, const MSG* msg) {
  WPARAM key = msg ? msg->wParam : 0;
  return SendMessageA(control, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg));
}

std::vector<HWND> NavigableItems(HWND dialog) {
  std::vector<HWND> items;
  Collect(dialog, items);
  return items;
}

HWND OuterDialog(HWND control) {
  HWND outer = nullptr;
  for (HWND window = control; window; window = GetParent(window)) {
    if (IsDialogWindow(window) && window != control) outer = window;
    if (!(Style(window) & WS_CHILD)) break;
  }
  return outer;
}

HWND FindItem(HWND dialog, int id) {
  for (HWND item : NavigableItems(dialog))
    if (GetDlgCtrlID(item) == id) return item;
  return nullptr;
}

void FocusControl(HWND control) {
  if (DialogCode(control) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void RestoreFocus(HWND dialog) {
  DialogState* state = StateOf(dialog);
  HWND target = state ? state->savedFocus : nullptr;
  bool initial = state && state->initialFocusPending;
  if (state) state->initialFocusPending = false;
  if (!target || !IsWindow(target) || !IsChild(dialog, target) || !IsWindowEnabled(target) ||
      !(Style(target) & WS_VISIBLE)) {
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    initial = true;
  }
  if (!target || !IsWindow(target) || target == GetFocus()) return;
  if (initial)
    FocusControl(target);
  else
    SetFocus(target);
}

void UpdateDefaultButtonLook(HWND dialog, HWND focus) {
  HWND wanted = nullptr;
  if (focus && IsPushButton(DialogCode(focus))) {
    wanted = focus;
  } else {
    DWORD defaultId = static_cast<DWORD>(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    if (HIWORD(defaultId) == DC_HASDEFID) wanted = FindItem(dialog, LOWORD(defaultId));
  }
  for (HWND item : NavigableItems(dialog)) {
    LRESULT code = DialogCode(item);
    if (!IsPushButton(code)) continue;
    bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
    if (item == wanted && !isDefault) SendMessageA(item, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    if (item != wanted && isDefault) SendMessageA(item, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
}

void NoteFocusChange(HWND control) {
  HWND dialog = OuterDialog(control);
  if (!dialog) return;
  if (DialogState* state = StateOf(dialog)) state->savedFocus = control;
  UpdateDefaultButtonLook(dialog, control);
}

}  // namespace qm::ui::dialogs

using namespace qm::ui::dialogs;

namespace {

bool Navigable(HWND item) { return IsWindowVisible(item) && IsWindowEnabled(item); }

// The navigable item a window belongs to: itself, or the item holding it
// (the edit field of a combo box stands for the combo box).
std::vector<HWND>::const_iterator ItemHolding(const std::vector<HWND>& items, HWND dialog, HWND control) {
  for (HWND window = control; window && window != dialog; window = GetParent(window)) {
    auto found = std::find(items.begin(), items.end(), window);
    if (found != items.end()) return found;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) break;
  }
  return items.end();
}

bool IsTabStop(HWND item) {
  return (GetWindowLongA(item, GWL_STYLE) & WS_TABSTOP) && Navigable(item) && !(DialogCode(item) & DLGC_STATIC);
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> items = NavigableItems(dialog);
  if (items.empty()) return nullptr;
  auto count = static_cast<std::ptrdiff_t>(items.size());
  auto found = ItemHolding(items, dialog, control);
  std::ptrdiff_t start = found == items.end() ? (previous ? count : -1) : found - items.begin();
  for (std::ptrdiff_t step = 1; step <= count; ++step) {
    std::ptrdiff_t index = ((previous ? start - step : start + step) % count + count) % count;
    if (IsTabStop(items[static_cast<size_t>(index)])) return items[static_cast<size_t>(index)];
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> items = NavigableItems(dialog);
  auto found = ItemHolding(items, dialog, control);
  if (found == items.end()) return nullptr;
  auto position = static_cast<size_t>(found - items.begin());
  size_t first = position;
  while (first > 0 && !(GetWindowLongA(items[first], GWL_STYLE) & WS_GROUP)) --first;
  size_t last = position + 1;
  while (last < items.size() && !(GetWindowLongA(items[last], GWL_STYLE) & WS_GROUP)) ++last;
  size_t size = last - first;
  for (size_t step = 1; step < size; ++step) {
    size_t offset = position - first;
    size_t index = first + (previous ? (offset + size - step) : (offset + step)) % size;
    if (Navigable(items[index]) && !(DialogCode(items[index]) & DLGC_STATIC)) return items[index];
  }
  return control;
}
