// The dropped list of a combo box: where it shows, how it closes, and the
// window system's modal loop that runs while it is open. The list holds the
// mouse capture, so every click comes to the loop: a click on an item
// chooses it, a click outside closes the list without a choice and goes no
// further, a click on the button closes it keeping what is highlighted.
// Moving the mouse over the list only highlights. Keys reach the loop
// before the edit field: Up, Down, Page Up and Page Down move the
// selection, Enter, F4 and Alt+Up close the list with it, Esc and Tab close
// it without; the other keys type into the edit field.
#include <algorithm>

#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/user/ModalLoop.h"

namespace qm::ui::controls {

namespace {

using user::ModalFilterResult;

constexpr int kListBorder = 1;

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT ClientOnScreen(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

RECT ButtonOnScreen(HWND combo) {
  RECT button = ButtonRect(combo);
  POINT origin{0, 0};
  ClientToScreen(combo, &origin);
  return RECT{button.left + origin.x, button.top + origin.y, button.right + origin.x, button.bottom + origin.y};
}

int VisibleRows(const ComboState& state) {
  const int itemHeight = std::max(1, static_cast<int>(SendMessageA(state.list, LB_GETITEMHEIGHT, 0, 0)));
  RECT client{};
  GetClientRect(state.list, &client);
  return std::max(1, static_cast<int>(client.bottom) / itemHeight);
}

// Below the field, as wide as the combo box, as high as the items need up
// to the height the program gave the combo box; above the field when the
// screen ends below it and there is room above.
void PlaceList(HWND combo, const ComboState& state) {
  RECT field{};
  GetWindowRect(combo, &field);
  const int itemHeight = std::max(1, static_cast<int>(SendMessageA(state.list, LB_GETITEMHEIGHT, 0, 0)));
  const int count = static_cast<int>(SendMessageA(state.list, LB_GETCOUNT, 0, 0));
  const int room = state.droppedHeight - FieldHeight(combo, state) - 2 * kListBorder;
  int height = itemHeight * std::clamp(room / itemHeight, 1, std::max(1, count));
  if (StyleOf(combo) & CBS_NOINTEGRALHEIGHT) height = std::max(itemHeight, room);
  height += 2 * kListBorder;
  RECT screen{};
  GetWindowRect(GetDesktopWindow(), &screen);
  int top = field.bottom;
  if (top + height > screen.bottom && field.top - height >= screen.top) top = field.top - height;
  SetWindowPos(state.list, HWND_TOPMOST, field.left, top, field.right - field.left, height, SWP_NOACTIVATE);
}

int ItemAt(const ComboState& state, POINT screen) {
  POINT client = screen;
  ScreenToClient(state.list, &client);
  const auto hit = static_cast<DWORD>(
      SendMessageA(state.list, LB_ITEMFROMPOINT, 0, MAKELPARAM(WORD(client.x), WORD(client.y))));
  return HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
}

bool IsLeftButtonUp(UINT message) { return message == WM_LBUTTONUP || message == WM_NCLBUTTONUP; }

class DropDownTracker {
 public:
  explicit DropDownTracker(HWND combo) : combo_(combo) {}

  ModalFilterResult Filter(MSG& msg) {
    ComboState* state = ComboOf(combo_);
    if (!state || !state->dropped) return ModalFilterResult::EndLoop;
    if (user::IsMouseMessage(msg.message)) return Mouse(*state, msg);
    if (msg.message == WM_MOUSEWHEEL) {
      SendMessageA(state->list, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
      return ModalFilterResult::Handled;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) return Key(msg);
    return ModalFilterResult::Dispatch;
  }

 private:
  ModalFilterResult Mouse(ComboState& state, const MSG& msg) {
    const POINT at = msg.pt;
    const bool inList = Contains(ClientOnScreen(state.list), at);
    if (msg.message == WM_MOUSEMOVE) {
      if (inList) Highlight(state, ItemAt(state, at));
      return ModalFilterResult::Handled;
    }
    if (IsLeftButtonUp(msg.message)) {
      if (state.buttonHeld) {
        state.buttonHeld = false;
        InvalidateRect(combo_, nullptr, FALSE);
      }
      const int item = inList ? ItemAt(state, at) : -1;
      if (item >= 0) {
        Highlight(state, item);
        CloseUp(combo_, true, true);
      }
      return ModalFilterResult::Handled;
    }
    if (!user::IsButtonPress(msg.message)) return ModalFilterResult::Handled;
    if (inList) {
      Highlight(state, ItemAt(state, at));
    } else if (Contains(ButtonOnScreen(combo_), at)) {
      CloseUp(combo_, true);
    } else {
      RECT frame{};
      GetWindowRect(state.list, &frame);
      // A press on the list's scroll bar scrolls it; on its border it does nothing.
      if (!Contains(frame, at)) {
        CloseUp(combo_, false);
      } else if (msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) {
        const LRESULT hit = SendMessageA(state.list, WM_NCHITTEST, 0, MAKELPARAM(WORD(at.x), WORD(at.y)));
        if (hit == HTVSCROLL) {
          HWND list = state.list;
          SendMessageA(list, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(WORD(at.x), WORD(at.y)));
          // The bar held the mouse while it was pressed; the list takes it back.
          const ComboState* still = ComboOf(combo_);
          if (still && still->dropped && IsWindow(list)) SetCapture(list);
        }
      }
    }
    return ModalFilterResult::Handled;
  }

  ModalFilterResult Key(const MSG& msg) {
    const bool alt = msg.message == WM_SYSKEYDOWN;
    switch (msg.wParam) {
      case VK_ESCAPE:
        CloseUp(combo_, false);
        return ModalFilterResult::Handled;
      case VK_RETURN:
      case VK_F4:
        CloseUp(combo_, true);
        return ModalFilterResult::Handled;
      case VK_UP:
      case VK_DOWN:
        if (alt) {
          CloseUp(combo_, true);
        } else {
          MoveSelection(combo_, msg.wParam == VK_UP ? -1 : 1);
        }
        return ModalFilterResult::Handled;
      case VK_PRIOR:
      case VK_NEXT: {
        const int page = PageSize(combo_);
        MoveSelection(combo_, msg.wParam == VK_PRIOR ? -page : page);
        return ModalFilterResult::Handled;
      }
      case VK_TAB:
        // The key moves on to another control once the list is closed.
        CloseUp(combo_, false);
        PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        return ModalFilterResult::Handled;
      default:
        if (alt) CloseUp(combo_, false);
        return ModalFilterResult::Dispatch;
    }
  }

  void Highlight(ComboState& state, int item) {
    if (item < 0) return;
    if (SendMessageA(state.list, LB_GETCURSEL, 0, 0) != item)
      SendMessageA(state.list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
  }

  HWND combo_;
};

}  // namespace

int PageSize(HWND combo) {
  ComboState* state = ComboOf(combo);
  return state ? std::max(1, VisibleRows(*state) - 1) : 1;
}

void DropDown(HWND combo, bool byMouse) {
  ComboState* state = ComboOf(combo);
  if (!state || state->dropped || !state->list) return;
  // Sent before the list shows, so the program can still fill it.
  NotifyParent(combo, CBN_DROPDOWN);
  if (!(state = ComboOf(combo)) || state->dropped) return;
  PlaceList(combo, *state);
  SendMessageA(state->list, LB_SETCURSEL, static_cast<WPARAM>(state->selection), 0);
  state->dropped = true;
  state->buttonHeld = byMouse;
  ShowWindow(state->list, SW_SHOWNA);
  UpdateWindow(state->list);
  SetCapture(state->list);
  InvalidateRect(combo, nullptr, FALSE);
}

void CloseUp(HWND combo, bool accept, bool reportChoice) {
  ComboState* state = ComboOf(combo);
  if (!state || !state->dropped) return;
  state->dropped = false;
  const int highlighted = static_cast<int>(SendMessageA(state->list, LB_GETCURSEL, 0, 0));
  const bool changed = accept && highlighted >= 0 && (highlighted != state->selection || reportChoice);
  if (accept && highlighted >= 0) state->selection = highlighted;
  NotifyParent(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!(state = ComboOf(combo))) return;
  if (!accept) SendMessageA(state->list, LB_SETCURSEL, static_cast<WPARAM>(state->selection), 0);
  if (GetCapture() == state->list) ReleaseCapture();
  ShowWindow(state->list, SW_HIDE);
  state->buttonHeld = false;
  InvalidateRect(combo, nullptr, FALSE);
  NotifyParent(combo, CBN_CLOSEUP);
  if (!changed || !(state = ComboOf(combo))) return;
  NotifyParent(combo, CBN_SELCHANGE);
  if ((state = ComboOf(combo))) ShowItemInEdit(combo, state->selection);
}

void TrackDropDown(HWND combo) {
  ComboState* state = ComboOf(combo);
  if (!state || !state->dropped || state->tracking) return;
  state->tracking = true;
  // Also when an exception leaves the loop (a test driver's failed step).
  struct EndTracking {
    HWND combo;
    ~EndTracking() {
      if (ComboState* ended = ComboOf(combo)) ended->tracking = false;
    }
  } end{combo};
  DropDownTracker tracker(combo);
  user::RunModalLoop(
      nullptr, state->list,
      [combo] {
        const ComboState* running = ComboOf(combo);
        return running && running->dropped;
      },
      [&tracker](MSG& msg) { return tracker.Filter(msg); });
}

}  // namespace qm::ui::controls
