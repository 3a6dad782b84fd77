#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/ControlProcs.h"

#include <cstring>

#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/dialogs/DialogHooks.h"

namespace qm::ui::controls {

namespace {

bool IsButtonClass(HWND hwnd) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return std::strcmp(name, WC_BUTTONA) == 0;
}

void SetPushed(HWND hwnd, ButtonState& state, bool pushed) {
  if (state.pushed == pushed) return;
  state.pushed = pushed;
  InvalidateRect(hwnd, nullptr, FALSE);
}

void SetCheck(HWND hwnd, ButtonState& state, UINT check) {
  DWORD type = ButtonType(StyleOf(hwnd));
  if (IsRadioType(type)) {
    // The checked radio button of a group is the group's tab stop, so Tab
    // lands on the current choice.
    SetStyleBits(hwnd, WS_TABSTOP, check == BST_CHECKED);
  }
  if (state.check == check) return;
  state.check = check;
  InvalidateRect(hwnd, nullptr, FALSE);
}

// Checks an automatic radio button and unchecks the other automatic radio
// buttons of its group: the siblings between the WS_GROUP control that
// starts the group and the next one.
void CheckInGroup(HWND hwnd) {
  HWND start = hwnd;
  while (!(StyleOf(start) & WS_GROUP)) {
    HWND previous = GetWindow(start, GW_HWNDPREV);
    if (!previous) break;
    start = previous;
  }
  for (HWND sibling = start; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != start && (StyleOf(sibling) & WS_GROUP)) break;
    if (!IsButtonClass(sibling) || ButtonType(StyleOf(sibling)) != BS_AUTORADIOBUTTON) continue;
    SendMessageA(sibling, BM_SETCHECK, sibling == hwnd ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Click(HWND hwnd, ButtonState& state) {
  switch (ButtonType(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
      SetCheck(hwnd, state, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTO3STATE:
      SetCheck(hwnd, state, (state.check + 1) % 3);
      break;
    case BS_AUTORADIOBUTTON:
      CheckInGroup(hwnd);
      break;
    default:
      break;
  }
  NotifyParent(hwnd, BN_CLICKED);
}

LRESULT DialogCode(DWORD style) {
  DWORD type = ButtonType(style);
  if (type == BS_GROUPBOX) return DLGC_STATIC;
  if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  if (IsRadioType(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  return DLGC_BUTTON;
}

bool Inside(HWND hwnd, LPARAM lParam) {
  RECT client{};
  GetClientRect(hwnd, &client);
  int x = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
  int y = static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)));
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) AttachState<ButtonState>(hwnd);
  ButtonState* state = StateOf<ButtonState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (std::optional<LRESULT> result = FontAndEraseMessage(hwnd, message, wParam, lParam, state->font)) return *result;
  DWORD style = StyleOf(hwnd);
  DWORD type = ButtonType(style);

  switch (message) {
    case WM_NCDESTROY:
      DestroyState<ButtonState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DialogCode(style);
    case WM_NCHITTEST:
      // A group box only frames other controls; clicks inside it belong to them.
      if (type == BS_GROUPBOX) return HTTRANSPARENT;
      break;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      if (!wParam) state->pushed = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      return PaintWithFont(hwnd, state->font, [&](HDC dc) { PaintButton(hwnd, dc, *state); });
    case WM_SETFOCUS:
      state->focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      dialogs::NoteFocusChange(hwnd);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      state->spaceDown = false;
      if (state->tracking) ReleaseCapture();
      state->pushed = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (type == BS_GROUPBOX || !IsWindowEnabled(hwnd)) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      BeginMouseHold(hwnd, state->tracking);
      SetPushed(hwnd, *state, true);
      return 0;
    case WM_MOUSEMOVE:
      if (state->tracking) SetPushed(hwnd, *state, Inside(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!state->tracking) return 0;
      bool clicked = state->pushed && Inside(hwnd, lParam);
      state->tracking = false;
      SetPushed(hwnd, *state, false);
      ReleaseCapture();
      if (clicked) Click(hwnd, *state);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (state->tracking) {
        state->tracking = false;
        SetPushed(hwnd, *state, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX && !state->tracking) {
        state->spaceDown = true;
        SetPushed(hwnd, *state, true);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE && state->spaceDown) {
        state->spaceDown = false;
        bool clicked = state->pushed;
        SetPushed(hwnd, *state, false);
        if (clicked) Click(hwnd, *state);
        return 0;
      }
      break;
    case BM_CLICK:
      if (type == BS_GROUPBOX || !IsWindowEnabled(hwnd)) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      Click(hwnd, *state);
      return 0;
    case BM_GETCHECK:
      return state->check;
    case BM_SETCHECK:
      if (type != BS_GROUPBOX && !IsPushType(type)) {
        UINT check = static_cast<UINT>(wParam);
        if (check > BST_INDETERMINATE || (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE))
          check = check ? BST_CHECKED : BST_UNCHECKED;
        SetCheck(hwnd, *state, check);
      }
      return 0;
    case BM_GETSTATE:
      return static_cast<LRESULT>(state->check | (state->pushed ? BST_PUSHED : 0u) |
                                  (state->focused ? BST_FOCUS : 0u));
    case BM_SETSTATE:
      SetPushed(hwnd, *state, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      DWORD newStyle = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (newStyle != style) {
        SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(newStyle));
        if (LOWORD(static_cast<DWORD_PTR>(lParam))) InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(state->image);
    case BM_SETIMAGE: {
      HGDIOBJ previous = state->image;
      state->image = reinterpret_cast<HGDIOBJ>(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return reinterpret_cast<LRESULT>(previous);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls
