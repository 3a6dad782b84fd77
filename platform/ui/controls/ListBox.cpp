// The LISTBOX class, as far as a combo box and a simple list in a dialog
// need it: the items (ListBoxItems.h), one selection, a top index that
// keeps the selection in view, selection by keyboard and mouse with LBN_*
// notifications under LBS_NOTIFY, and the classic look: window colours,
// the navy selection, a dotted focus rectangle. The list of a combo box
// (LBS_COMBOBOX) takes no input itself: the combo box drives it while it is
// dropped, through the same messages a program sends. With WS_VSCROLL the
// list keeps a vertical scroll bar over its rows, hidden while every row
// shows; the bar and the mouse wheel move the top index.
#include <algorithm>
#include <cstring>

#include "platform/kernel/Utf8.h"
#include "platform/ui/Controls.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/ListBoxItems.h"
#include "platform/ui/dialogs/DialogHooks.h"

namespace qm::ui::controls {

namespace {

constexpr int kTextMargin = 2;

struct ListBoxState {
  HFONT font = nullptr;
  ListItems items;
  int top = 0;
  int itemHeight = 0;  // 0: the font's height
  bool focused = false;
  bool tracking = false;  // the left button is held on the list
  bool scrolls = false;   // created with WS_VSCROLL (the style bit goes while the bar is hidden)
  bool settingBar = false;
  int wheelRemainder = 0;
};

constexpr int kWheelLines = 3;

bool IsComboList(HWND hwnd) { return (StyleOf(hwnd) & LBS_COMBOBOX) != 0; }

int ItemHeight(HWND hwnd, const ListBoxState& state) {
  if (state.itemHeight > 0) return state.itemHeight;
  return std::max(1, FontHeight(hwnd, state.font));
}

// Rows wholly shown; at least one, so a list shorter than an item still scrolls.
int VisibleRows(HWND hwnd, const ListBoxState& state) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return std::max(1, static_cast<int>(client.bottom) / ItemHeight(hwnd, state));
}

int LastTop(HWND hwnd, const ListBoxState& state) {
  return std::max(0, state.items.Count() - VisibleRows(hwnd, state));
}

// Showing or hiding the bar changes the client area, and so the rows that
// show: this settles over a few rounds.
void UpdateScrollBar(HWND hwnd, ListBoxState& state) {
  if (!state.scrolls || state.settingBar) return;
  state.settingBar = true;
  for (int round = 0; round < 3; ++round) {
    RECT before{};
    GetClientRect(hwnd, &before);
    state.top = std::clamp(state.top, 0, LastTop(hwnd, state));
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, state.items.Count() - 1),
                    static_cast<UINT>(VisibleRows(hwnd, state)), state.top, 0};
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    RECT after{};
    GetClientRect(hwnd, &after);
    if (after.right == before.right && after.bottom == before.bottom) break;
  }
  state.settingBar = false;
}

void SetTop(HWND hwnd, ListBoxState& state, int top) {
  top = std::clamp(top, 0, LastTop(hwnd, state));
  if (top == state.top) return;
  state.top = top;
  UpdateScrollBar(hwnd, state);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Scroll(HWND hwnd, ListBoxState& state, WORD code) {
  const int page = VisibleRows(hwnd, state);
  if (auto top = ScrolledPosition(hwnd, SB_VERT, code, state.top, 1, page, state.items.Count()))
    SetTop(hwnd, state, *top);
}

void Wheel(HWND hwnd, ListBoxState& state, short delta) {
  state.wheelRemainder += delta;
  const int notches = state.wheelRemainder / WHEEL_DELTA;
  state.wheelRemainder -= notches * WHEEL_DELTA;
  const int lines = std::min(kWheelLines, std::max(1, VisibleRows(hwnd, state) - 1));
  if (notches) SetTop(hwnd, state, state.top - notches * lines);
}

void ShowItem(HWND hwnd, ListBoxState& state, int index) {
  if (!state.items.Valid(index)) return;
  const int rows = VisibleRows(hwnd, state);
  if (index < state.top)
    SetTop(hwnd, state, index);
  else if (index >= state.top + rows)
    SetTop(hwnd, state, index - rows + 1);
}

void Notify(HWND hwnd, WORD code) {
  if (StyleOf(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, code);
}

// Moves the selection; true when it changed.
bool Select(HWND hwnd, ListBoxState& state, int index) {
  if (!state.items.Valid(index)) index = -1;
  ShowItem(hwnd, state, index);
  if (index == state.items.selection) return false;
  state.items.selection = index;
  InvalidateRect(hwnd, nullptr, TRUE);
  return true;
}

RECT ItemRect(HWND hwnd, const ListBoxState& state, int index) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const int height = ItemHeight(hwnd, state);
  const int y = (index - state.top) * height;
  return RECT{0, y, client.right, y + height};
}

// LB_ITEMFROMPOINT's answer: the nearest item, and whether the point is outside the client area.
LRESULT ItemFromPoint(HWND hwnd, const ListBoxState& state, POINT point) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const bool outside = point.x < 0 || point.y < 0 || point.x >= client.right || point.y >= client.bottom;
  const int row = point.y < 0 ? -1 : point.y / ItemHeight(hwnd, state);
  int index = std::clamp(state.top + row, 0, std::max(0, state.items.Count() - 1));
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(index), outside || state.items.Count() == 0 ? 1 : 0));
}

void Paint(HWND hwnd, HDC dc, const ListBoxState& state) {
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH background = ControlColors(hwnd, dc, WM_CTLCOLORLISTBOX);
  FillRect(dc, &client, background);
  const bool enabled = IsWindowEnabled(hwnd);
  const COLORREF text = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  SetBkMode(dc, TRANSPARENT);
  const int rows = VisibleRows(hwnd, state) + 1;
  for (int index = state.top; index < state.items.Count() && index < state.top + rows; ++index) {
    RECT item = ItemRect(hwnd, state, index);
    const bool selected = index == state.items.selection;
    if (selected) FillSysColor(dc, item, COLOR_HIGHLIGHT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    RECT label{item.left + kTextMargin, item.top, item.right, item.bottom};
    const std::string& itemText = state.items.At(index).text;
    DrawTextA(dc, itemText.c_str(), static_cast<int>(itemText.size()), &label,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && state.focused && !IsComboList(hwnd)) DrawFocusRect(dc, &item);
  }
}

LRESULT CopyText(const ListBoxState& state, WPARAM index, LPARAM buffer) {
  const int i = static_cast<int>(index);
  if (!state.items.Valid(i)) return LB_ERR;
  const std::string& text = state.items.At(i).text;
  if (buffer) std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

std::string TextParam(LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  return text ? text : "";
}

void Changed(HWND hwnd, ListBoxState& state) {
  state.top = std::min(state.top, LastTop(hwnd, state));
  UpdateScrollBar(hwnd, state);
  InvalidateRect(hwnd, nullptr, TRUE);
}

POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
               static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)))};
}

// The item under a mouse point; dragging above the list reaches the item
// above the first one shown, below it the one below the last (the nearest).
int IndexAt(HWND hwnd, const ListBoxState& state, LPARAM lParam) {
  const POINT point = PointOf(lParam);
  if (point.y < 0) return state.top - 1;
  return LOWORD(static_cast<DWORD>(ItemFromPoint(hwnd, state, point)));
}

void SelectByUser(HWND hwnd, ListBoxState& state, int index) {
  if (state.items.Count() == 0) return;
  index = std::clamp(index, 0, state.items.Count() - 1);
  if (Select(hwnd, state, index)) Notify(hwnd, LBN_SELCHANGE);
}

bool OnKeyDown(HWND hwnd, ListBoxState& state, WPARAM key) {
  const int current = state.items.selection;
  const int page = std::max(1, VisibleRows(hwnd, state) - 1);
  switch (key) {
    case VK_UP: SelectByUser(hwnd, state, current < 0 ? 0 : current - 1); return true;
    case VK_DOWN: SelectByUser(hwnd, state, current + 1); return true;
    case VK_PRIOR: SelectByUser(hwnd, state, current - page); return true;
    case VK_NEXT: SelectByUser(hwnd, state, current + page); return true;
    case VK_HOME: SelectByUser(hwnd, state, 0); return true;
    case VK_END: SelectByUser(hwnd, state, state.items.Count() - 1); return true;
    default: return false;
  }
}

}  // namespace

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) AttachState<ListBoxState>(hwnd);
  ListBoxState* state = StateOf<ListBoxState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE)
    state->scrolls = (reinterpret_cast<const CREATESTRUCTA*>(lParam)->style & WS_VSCROLL) != 0;
  if (std::optional<LRESULT> result = FontAndEraseMessage(hwnd, message, wParam, lParam, state->font)) return *result;
  ListItems& items = state->items;
  switch (message) {
    case WM_NCDESTROY:
      DestroyState<ListBoxState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT:
      return PaintWithFont(hwnd, state->font, [&](HDC dc) { Paint(hwnd, dc, *state); });
    case WM_SIZE:
    case WM_ENABLE:
      Changed(hwnd, *state);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      state->focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      Notify(hwnd, LBN_SETFOCUS);
      dialogs::NoteFocusChange(hwnd);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      Notify(hwnd, LBN_KILLFOCUS);
      return 0;
    case LB_ADDSTRING: {
      const int index = items.Add(TextParam(lParam), (StyleOf(hwnd) & LBS_SORT) != 0);
      Changed(hwnd, *state);
      return index;
    }
    case LB_INSERTSTRING: {
      const int index = items.Insert(static_cast<int>(wParam), TextParam(lParam));
      if (index < 0) return LB_ERR;
      Changed(hwnd, *state);
      return index;
    }
    case LB_DELETESTRING: {
      const int left = items.Remove(static_cast<int>(wParam));
      if (left < 0) return LB_ERR;
      Changed(hwnd, *state);
      return left;
    }
    case LB_RESETCONTENT:
      items.Clear();
      state->top = 0;
      Changed(hwnd, *state);
      return 0;
    case LB_SETCURSEL: {
      const int index = static_cast<int>(wParam);
      Select(hwnd, *state, index);
      return items.Valid(index) ? index : LB_ERR;
    }
    case LB_GETCURSEL:
      return items.selection;
    case LB_GETTEXT:
      return CopyText(*state, wParam, lParam);
    case LB_GETTEXTLEN:
      return CopyText(*state, wParam, 0);
    case LB_GETCOUNT:
      return items.Count();
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return items.Find(static_cast<int>(wParam), TextParam(lParam), message == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
      const int index = items.Find(static_cast<int>(wParam), TextParam(lParam), false);
      if (index < 0) return LB_ERR;
      Select(hwnd, *state, index);
      return index;
    }
    case LB_GETTOPINDEX:
      return state->top;
    case LB_SETTOPINDEX:
      if (!items.Valid(static_cast<int>(wParam)) && wParam != 0) return LB_ERR;
      SetTop(hwnd, *state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETITEMRECT:
      if (!items.Valid(static_cast<int>(wParam)) || !lParam) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, *state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETITEMDATA:
      return items.Valid(static_cast<int>(wParam)) ? items.At(static_cast<int>(wParam)).data : LB_ERR;
    case LB_SETITEMDATA:
      if (!items.Valid(static_cast<int>(wParam))) return LB_ERR;
      items.At(static_cast<int>(wParam)).data = lParam;
      return LB_OKAY;
    case LB_GETITEMHEIGHT:
      return ItemHeight(hwnd, *state);
    case LB_SETITEMHEIGHT:
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) == 0 || LOWORD(static_cast<DWORD_PTR>(lParam)) > 255) return LB_ERR;
      state->itemHeight = LOWORD(static_cast<DWORD_PTR>(lParam));
      Changed(hwnd, *state);
      return LB_OKAY;
    case LB_ITEMFROMPOINT:
      return ItemFromPoint(hwnd, *state, PointOf(lParam));
    case WM_VSCROLL:
      Scroll(hwnd, *state, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      Wheel(hwnd, *state, static_cast<short>(HIWORD(wParam)));
      return 0;
    default:
      break;
  }
  if (IsComboList(hwnd)) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      BeginMouseHold(hwnd, state->tracking);
      // A click reports the selection even when it stays where it was.
      Select(hwnd, *state, IndexAt(hwnd, *state, lParam));
      if (items.selection >= 0) Notify(hwnd, LBN_SELCHANGE);
      // The second press of a double click is a press too, then the double click.
      if (message == WM_LBUTTONDBLCLK && IsWindow(hwnd) && (state = StateOf<ListBoxState>(hwnd)) &&
          HIWORD(static_cast<DWORD>(ItemFromPoint(hwnd, *state, PointOf(lParam)))) == 0)
        Notify(hwnd, LBN_DBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (state->tracking) SelectByUser(hwnd, *state, IndexAt(hwnd, *state, lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      return EndMouseHold(message, state->tracking);
    case WM_KEYDOWN:
      if (OnKeyDown(hwnd, *state, wParam)) return 0;
      break;
    case WM_CHAR: {
      // A letter moves to the next item that starts with it.
      if (wParam < 0x20) return 0;
      std::string key;
      kernel::AppendUtf8(key, static_cast<char32_t>(wParam));
      const int index = items.Find(items.selection, key, false);
      if (index >= 0) SelectByUser(hwnd, *state, index);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls
