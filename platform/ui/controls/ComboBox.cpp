// The combo box's window procedure: its messages (most pass on to the list
// or the edit field), the edit field it owns and listens to, the selection,
// and the keys and clicks that open the list.
#include <algorithm>
#include <vector>

#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"

namespace qm::ui::controls {

namespace {

// Posted by CB_SHOWDROPDOWN, so that the program's call returns at once
// and the dropped list's loop starts from the program's own loop.
constexpr UINT kTrackDropDown = WM_USER + 0x3A1;

bool IsCombo(HWND hwnd) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return std::string(name) == WC_COMBOBOXA;
}

LRESULT ToList(const ComboState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(state.list, message, wParam, lParam);
}

int ListCount(const ComboState& state) { return static_cast<int>(ToList(state, LB_GETCOUNT, 0, 0)); }

std::string ItemText(const ComboState& state, int index) {
  const LRESULT length = ToList(state, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  ToList(state, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// The selection set by the program: no notifications.
LRESULT SetSelection(HWND combo, ComboState& state, int index) {
  const bool valid = index >= 0 && index < ListCount(state);
  state.selection = valid ? index : -1;
  ToList(state, LB_SETCURSEL, static_cast<WPARAM>(state.selection), 0);
  ShowItemInEdit(combo, state.selection);
  return valid ? index : CB_ERR;
}

// Items came or went: the selection follows its item, as the list's does.
void FollowList(ComboState& state) {
  if (!state.dropped) state.selection = static_cast<int>(ToList(state, LB_GETCURSEL, 0, 0));
}

bool IsOurs(HWND combo, const ComboState& state, HWND window) {
  return window == combo || window == state.edit || window == state.list;
}

// The edit field: the combo box's keys and the focus of the whole control.
LRESULT ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND combo = GetParent(edit);
  ComboState* state = ComboOf(combo);
  if (!state || !state->editProc) return DefWindowProcA(edit, message, wParam, lParam);
  const WNDPROC editProc = state->editProc;
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_F4) {
        DropDown(combo, false);
        TrackDropDown(combo);
        return 0;
      }
      if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT) {
        const int page = PageSize(combo);
        MoveSelection(combo, wParam == VK_UP ? -1 : wParam == VK_DOWN ? 1 : wParam == VK_PRIOR ? -page : page);
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN || wParam == VK_UP) {
        DropDown(combo, false);
        TrackDropDown(combo);
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = CallWindowProcA(editProc, edit, message, wParam, lParam);
      if ((state = ComboOf(combo)) && !state->focused) {
        state->focused = true;
        NotifyParent(combo, CBN_SETFOCUS);
      }
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = CallWindowProcA(editProc, edit, message, wParam, lParam);
      state = ComboOf(combo);
      if (!state || IsOurs(combo, *state, reinterpret_cast<HWND>(wParam))) return result;
      if (state->dropped) CloseUp(combo, false);
      if ((state = ComboOf(combo)) && state->focused) {
        state->focused = false;
        CallWindowProcA(editProc, edit, EM_SETSEL, 0, 0);
        NotifyParent(combo, CBN_KILLFOCUS);
      }
      return result;
    }
    default:
      break;
  }
  return CallWindowProcA(editProc, edit, message, wParam, lParam);
}

// The edit field's notifications become the combo box's.
void OnEditNotification(HWND combo, ComboState& state, WORD code) {
  if (state.quietEdit) return;
  if (code == EN_UPDATE) {
    NotifyParent(combo, CBN_EDITUPDATE);
  } else if (code == EN_CHANGE) {
    // Shown first: the change is reported once the user sees it.
    UpdateWindow(state.edit);
    if (state.dropped) {
      const std::string text = WindowText(state.edit);
      const LRESULT match = text.empty() ? -1 : ToList(state, LB_FINDSTRING, WPARAM(-1), LPARAM(text.c_str()));
      if (match >= 0) ToList(state, LB_SETCURSEL, static_cast<WPARAM>(match), 0);
    }
    if (IsWindow(combo)) NotifyParent(combo, CBN_EDITCHANGE);
  }
}

void Create(HWND combo, ComboState& state, const CREATESTRUCTA& create) {
  state.droppedHeight = create.cy;
  const DWORD style = StyleOf(combo);
  DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
  if (style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
  if (style & WS_DISABLED) editStyle |= WS_DISABLED;
  state.edit = CreateWindowExA(0, WC_EDITA, "", editStyle, 0, 0, 0, 0, combo,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kComboEditId)), create.hInstance,
                               nullptr);
  if (state.edit)
    state.editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboEditProc)));
  DWORD listStyle = WS_POPUP | WS_BORDER | LBS_COMBOBOX | LBS_HASSTRINGS | LBS_NOTIFY;
  if (style & CBS_SORT) listStyle |= LBS_SORT;
  if (style & CBS_NOINTEGRALHEIGHT) listStyle |= LBS_NOINTEGRALHEIGHT;
  if (state.listScrolls) listStyle |= WS_VSCROLL;
  state.list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kComboListClass, "", listStyle, 0, 0, 0, 0,
                               GetAncestorRoot(combo), nullptr, create.hInstance, nullptr);
  Layout(combo, state);
}

void SetFont(HWND combo, ComboState& state, HFONT font, bool redraw) {
  state.font = font;
  SendMessageA(state.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageA(state.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Layout(combo, state);
  if (redraw) InvalidateRect(combo, nullptr, TRUE);
}

void OnButtonDown(HWND combo, ComboState& state, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                    static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)))};
  const RECT button = ButtonRect(combo);
  if (point.x < button.left || point.x >= button.right || point.y < button.top || point.y >= button.bottom) return;
  if (GetFocus() != state.edit) SetFocus(state.edit);
  DropDown(combo, true);
  TrackDropDown(combo);
}

LRESULT ComboInfo(HWND combo, const ComboState& state, COMBOBOXINFO* info) {
  if (!info) return FALSE;
  info->rcItem = EditRect(combo);
  info->rcButton = ButtonRect(combo);
  info->stateButton = state.dropped ? STATE_SYSTEM_PRESSED : 0;
  info->hwndCombo = combo;
  info->hwndItem = state.edit;
  info->hwndList = state.list;
  return TRUE;
}

// The messages the list answers for the combo box.
std::optional<LRESULT> ListMessage(HWND combo, ComboState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_ADDSTRING: {
      const LRESULT index = ToList(state, LB_ADDSTRING, 0, lParam);
      if (state.dropped && index >= 0 && index <= state.selection) ++state.selection;
      FollowList(state);
      return index;
    }
    case CB_INSERTSTRING: {
      const LRESULT index = ToList(state, LB_INSERTSTRING, wParam, lParam);
      if (state.dropped && index >= 0 && index <= state.selection) ++state.selection;
      FollowList(state);
      return index;
    }
    case CB_DELETESTRING: {
      const LRESULT left = ToList(state, LB_DELETESTRING, wParam, 0);
      const int index = static_cast<int>(wParam);
      if (state.dropped && left >= 0) state.selection = index == state.selection ? -1 : state.selection - (index < state.selection);
      FollowList(state);
      return left;
    }
    case CB_RESETCONTENT:
      ToList(state, LB_RESETCONTENT, 0, 0);
      state.selection = -1;
      SetEditQuietly(combo, "");
      return CB_OKAY;
    case CB_GETCOUNT: return ToList(state, LB_GETCOUNT, 0, 0);
    case CB_GETLBTEXT: return ToList(state, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return ToList(state, LB_GETTEXTLEN, wParam, 0);
    case CB_FINDSTRING: return ToList(state, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return ToList(state, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETITEMDATA: return ToList(state, LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA: return ToList(state, LB_SETITEMDATA, wParam, lParam);
    case CB_GETCURSEL: return state.selection;
    case CB_SETCURSEL: return SetSelection(combo, state, static_cast<int>(static_cast<std::intptr_t>(wParam)));
    case CB_SELECTSTRING: {
      const LRESULT index = ToList(state, LB_FINDSTRING, wParam, lParam);
      if (index < 0) return CB_ERR;
      return SetSelection(combo, state, static_cast<int>(index));
    }
    default: return std::nullopt;
  }
}

// The messages the edit field answers for the combo box.
std::optional<LRESULT> EditMessage(HWND combo, ComboState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      state.quietEdit = true;
      SendMessageA(state.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
      if (ComboOf(combo)) state.quietEdit = false;
      // The list follows the text where an item is exactly it.
      const LRESULT match = ToList(state, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text ? text : ""));
      state.selection = text && *text ? static_cast<int>(match) : -1;
      ToList(state, LB_SETCURSEL, static_cast<WPARAM>(state.selection), 0);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return SendMessageA(state.edit, message, wParam, lParam);
    case CB_GETEDITSEL:
      return SendMessageA(state.edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL: {
      const short start = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
      const short end = static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)));
      SendMessageA(state.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(start)),
                   static_cast<LPARAM>(end));
      return TRUE;
    }
    case CB_LIMITTEXT:
      SendMessageA(state.edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    default:
      return std::nullopt;
  }
}

}  // namespace

ComboState* ComboOf(HWND combo) {
  if (!combo || !IsWindow(combo) || !IsCombo(combo)) return nullptr;
  return StateOf<ComboState>(combo);
}

void SetEditQuietly(HWND combo, const std::string& text) {
  ComboState* state = ComboOf(combo);
  if (!state) return;
  state->quietEdit = true;
  SendMessageA(state->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(state->edit, EM_SETSEL, 0, -1);
  if ((state = ComboOf(combo))) state->quietEdit = false;
}

void ShowItemInEdit(HWND combo, int index) {
  ComboState* state = ComboOf(combo);
  if (!state) return;
  SetEditQuietly(combo, index >= 0 ? ItemText(*state, index) : std::string());
}

void MoveSelection(HWND combo, int delta) {
  ComboState* state = ComboOf(combo);
  if (!state) return;
  const int count = ListCount(*state);
  if (count == 0) return;
  const int from = state->dropped ? static_cast<int>(ToList(*state, LB_GETCURSEL, 0, 0)) : state->selection;
  const int to = from < 0 ? 0 : std::clamp(from + delta, 0, count - 1);
  if (to == state->selection && to == from) return;
  if (!state->dropped) NotifyParent(combo, CBN_SELENDOK);
  if (!(state = ComboOf(combo))) return;
  state->selection = to;
  ToList(*state, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
  NotifyParent(combo, CBN_SELCHANGE);
  ShowItemInEdit(combo, to);
}

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) AttachState<ComboState>(hwnd);
  ComboState* state = StateOf<ComboState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) {
    // The scroll bars of the style are the list's: the field itself has none.
    state->listScrolls = (StyleOf(hwnd) & WS_VSCROLL) != 0;
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(StyleOf(hwnd) & ~(WS_VSCROLL | WS_HSCROLL)));
  }
  if (std::optional<LRESULT> result = ListMessage(hwnd, *state, message, wParam, lParam)) return *result;
  if (std::optional<LRESULT> result = EditMessage(hwnd, *state, message, wParam, lParam)) return *result;
  switch (message) {
    case WM_CREATE:
      Create(hwnd, *state, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
      return 0;
    case WM_DESTROY:
      if (state->list && IsWindow(state->list)) DestroyWindow(state->list);
      state->list = nullptr;
      return 0;
    case WM_NCDESTROY:
      DestroyState<ComboState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SIZE:
      if (!state->sizing) Layout(hwnd, *state);
      return 0;
    case WM_SETFONT:
      SetFont(hwnd, *state, reinterpret_cast<HFONT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintWithFont(hwnd, state->font, [&](HDC dc) { PaintCombo(hwnd, dc, *state); });
    case WM_ENABLE:
      EnableWindow(state->edit, wParam != 0);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETFOCUS: {
      // Focus coming from outside selects the whole text, as tabbing into an edit does.
      const bool fresh = !state->focused;
      SetFocus(state->edit);
      if (fresh && (state = ComboOf(hwnd))) SendMessageA(state->edit, EM_SETSEL, 0, -1);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == state->edit) OnEditNotification(hwnd, *state, HIWORD(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      // The edit field and the list take the colours the combo box's parent gives.
      if (HWND parent = GetParent(hwnd)) return SendMessageA(parent, message, wParam, lParam);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(hwnd, *state, lParam);
      return 0;
    case CB_SHOWDROPDOWN:
      if (wParam && !state->dropped) {
        DropDown(hwnd, false);
        PostMessageA(hwnd, kTrackDropDown, 0, 0);
      } else if (!wParam && state->dropped) {
        CloseUp(hwnd, false);
      }
      return TRUE;
    case kTrackDropDown:
      TrackDropDown(hwnd);
      return 0;
    case CB_GETDROPPEDSTATE:
      return state->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      if (!lParam) return CB_ERR;
      RECT window{};
      GetWindowRect(hwnd, &window);
      window.bottom = window.top + std::max(state->droppedHeight, FieldHeight(hwnd, *state));
      *reinterpret_cast<RECT*>(lParam) = window;
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
      if (static_cast<int>(static_cast<std::intptr_t>(wParam)) == -1) return FieldHeight(hwnd, *state) - 6;
      return ToList(*state, LB_GETITEMHEIGHT, 0, 0);
    case CB_GETCOMBOBOXINFO:
      return ComboInfo(hwnd, *state, reinterpret_cast<COMBOBOXINFO*>(lParam));
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
  if (!qm::ui::controls::ComboOf(combo) || !info) return FALSE;
  return static_cast<BOOL>(SendMessageA(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)));
}
