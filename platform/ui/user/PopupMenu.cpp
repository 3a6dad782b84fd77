// TrackPopupMenu: the menu's window, shown without taking the activation
// from its owner, and the window system's modal loop until the menu closes.
// The menu holds the mouse capture, so every click comes to the loop:
// releasing the left button (or, with TPM_RIGHTBUTTON, either button) on
// an item chooses it; pressing a button outside the menu closes it, and
// that click goes no further. Keys reach the loop before any window: Up and
// Down move the highlight over the items (greyed ones too, separators
// never), Home and End to the first and last, Enter chooses the highlighted
// item, an item's access key chooses it (or, shared by several, moves to
// the next of them), Esc and Alt close the menu. A greyed item is never
// chosen.
#include <algorithm>

#include "platform/ui/DisplayBackend.h"
#include "platform/kernel/NameCase.h"
#include "platform/ui/user/ModalLoop.h"
#include "platform/ui/user/PopupMenuLayout.h"

namespace qm::ui::user {

namespace {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool IsChoosingUp(UINT message, bool right) {
  return message == WM_LBUTTONUP || message == WM_NCLBUTTONUP ||
         (right && (message == WM_RBUTTONUP || message == WM_NCRBUTTONUP));
}

// Where the menu's top-left corner goes: aligned to the point as the flags
// ask, then moved to the other side of the point where the screen ends, and
// kept on the screen.
POINT PlaceMenu(SIZE size, int x, int y, UINT flags) {
  if (flags & TPM_RIGHTALIGN)
    x -= size.cx;
  else if (flags & TPM_CENTERALIGN)
    x -= size.cx / 2;
  if (flags & TPM_BOTTOMALIGN)
    y -= size.cy;
  else if (flags & TPM_VCENTERALIGN)
    y -= size.cy / 2;
  const RECT screen = qm::ui::Display().WorkArea();
  if (x + size.cx > screen.right && x - size.cx >= screen.left) x -= size.cx;
  if (y + size.cy > screen.bottom && y - size.cy >= screen.top) y -= size.cy;
  x = std::max(static_cast<int>(screen.left), std::min(x, static_cast<int>(screen.right) - size.cx));
  y = std::max(static_cast<int>(screen.top), std::min(y, static_cast<int>(screen.bottom) - size.cy));
  return POINT{x, y};
}

class MenuTracker {
 public:
  MenuTracker(HMENU menu, UINT flags) : menu_(menu), rightButton_((flags & TPM_RIGHTBUTTON) != 0) {}

  PopupMenuView view;
  HWND window = nullptr;
  bool done = false;
  UINT chosen = 0;

  ModalFilterResult Filter(MSG& msg) {
    const MenuData* data = FindMenu(menu_);
    if (!data || done) return ModalFilterResult::EndLoop;
    if (IsMouseMessage(msg.message)) return Mouse(*data, msg);
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        return Key(*data, msg);
      case WM_CHAR:
      case WM_SYSCHAR:
        AccessKey(*data, static_cast<char32_t>(msg.wParam));
        return done ? ModalFilterResult::EndLoop : ModalFilterResult::Handled;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        return ModalFilterResult::Handled;
      default:
        return ModalFilterResult::Dispatch;
    }
  }

 private:
  ModalFilterResult Mouse(const MenuData& data, const MSG& msg) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const bool inside = Contains(frame, msg.pt);
    const int item = inside ? MenuItemAt(view, POINT{msg.pt.x - frame.left, msg.pt.y - frame.top}) : -1;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      Highlight(item);
      return ModalFilterResult::Handled;
    }
    if (IsButtonPress(msg.message)) {
      if (!inside) {
        Close(0);
        return ModalFilterResult::EndLoop;
      }
      Highlight(item);
      return ModalFilterResult::Handled;
    }
    if (IsChoosingUp(msg.message, rightButton_) && item >= 0) {
      Choose(data, item);
      return done ? ModalFilterResult::EndLoop : ModalFilterResult::Handled;
    }
    return ModalFilterResult::Handled;
  }

  ModalFilterResult Key(const MenuData& data, const MSG& msg) {
    switch (msg.wParam) {
      case VK_ESCAPE:
      case VK_MENU:
        Close(0);
        return ModalFilterResult::EndLoop;
      case VK_UP:
        Step(data, view.highlighted < 0 ? 0 : view.highlighted, -1);
        break;
      case VK_DOWN:
        Step(data, view.highlighted < 0 ? -1 : view.highlighted, 1);
        break;
      case VK_HOME:
        Step(data, -1, 1);
        break;
      case VK_END:
        Step(data, static_cast<int>(data.items.size()), -1);
        break;
      case VK_RETURN:
        if (view.highlighted >= 0) Choose(data, view.highlighted);
        break;
      default:
        break;
    }
    return done ? ModalFilterResult::EndLoop : ModalFilterResult::Handled;
  }

  // The next item that is not a separator, from `from` on in `direction`,
  // going round the end.
  void Step(const MenuData& data, int from, int direction) {
    const int count = static_cast<int>(data.items.size());
    for (int step = 1; step <= count; ++step) {
      const int index = ((from + direction * step) % count + count) % count;
      if (!data.items[static_cast<std::size_t>(index)].IsSeparator()) {
        Highlight(index);
        return;
      }
    }
  }

  void AccessKey(const MenuData& data, char32_t key) {
    if (key < 0x20) return;
    key = kernel::UpcaseNameChar(key);
    std::vector<int> matches;
    for (std::size_t i = 0; i < data.items.size(); ++i)
      if (!data.items[i].IsSeparator() && MenuAccessKey(data.items[i]) == key) matches.push_back(static_cast<int>(i));
    if (matches.empty()) {
      MessageBeep(0);
      return;
    }
    if (matches.size() == 1) {
      Highlight(matches.front());
      Choose(data, matches.front());
      return;
    }
    auto next = std::find_if(matches.begin(), matches.end(), [&](int i) { return i > view.highlighted; });
    Highlight(next == matches.end() ? matches.front() : *next);
  }

  void Highlight(int item) {
    if (item == view.highlighted) return;
    view.highlighted = item;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }

  void Choose(const MenuData& data, int item) {
    const MenuItem& chosenItem = data.items[static_cast<std::size_t>(item)];
    if (chosenItem.IsSeparator() || chosenItem.IsGreyed()) return;
    Close(static_cast<UINT>(chosenItem.id));
  }

  void Close(UINT command) {
    done = true;
    chosen = command;
  }

  HMENU menu_;
  bool rightButton_;
};

bool menuOpen = false;

}  // namespace

}  // namespace qm::ui::user

using namespace qm::ui::user;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  MenuData* data = FindMenu(menu);
  if (!data || !owner || !IsWindow(owner) || menuOpen || data->items.empty()) return FALSE;
  RegisterPopupMenuClass();
  const bool notify = !(flags & TPM_NONOTIFY);
  if (notify) {
    SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    if (!(data = FindMenu(menu)) || data->items.empty() || !IsWindow(owner)) return FALSE;
  }
  MenuTracker tracker(menu, flags);
  tracker.view = LayOutMenu(menu);
  const POINT at = PlaceMenu(tracker.view.size, x, y, flags);
  tracker.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupMenuClass, "", WS_POPUP, at.x, at.y,
                                   tracker.view.size.cx, tracker.view.size.cy, GetAncestorRoot(owner), nullptr,
                                   nullptr, nullptr);
  if (!tracker.window) return FALSE;
  SetWindowLongPtrA(tracker.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tracker.view));
  data->window = tracker.window;
  menuOpen = true;
  ShowWindow(tracker.window, SW_SHOWNA);
  UpdateWindow(tracker.window);
  SetCapture(tracker.window);
  HWND window = tracker.window;
  {
    // The menu closes also when an exception leaves the loop (a test
    // driver's failed step): no menu left open, none refused afterwards.
    struct CloseMenu {
      HMENU menu;
      HWND window;
      ~CloseMenu() {
        menuOpen = false;
        if (GetCapture() == window) ReleaseCapture();
        if (IsWindow(window)) {
          SetWindowLongPtrA(window, GWLP_USERDATA, 0);
          DestroyWindow(window);
        }
        if (MenuData* open = FindMenu(menu)) open->window = nullptr;
      }
    } close{menu, window};
    RunModalLoop(
        nullptr, window, [&tracker] { return !tracker.done; }, [&tracker](MSG& msg) { return tracker.Filter(msg); });
  }
  if (notify && IsWindow(owner)) SendMessageA(owner, WM_EXITMENULOOP, TRUE, 0);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(tracker.chosen);
  if (tracker.chosen && IsWindow(owner)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(tracker.chosen, 0), 0);
  return TRUE;
}

BOOL GetMenuItemRect(HWND, HMENU menu, UINT position, LPRECT rect) {
  MenuData* data = FindMenu(menu);
  if (!data || !rect || !data->window) return FALSE;
  const PopupMenuView* view = ViewOf(data->window);
  if (!view || position >= view->items.size()) return FALSE;
  RECT frame{};
  GetWindowRect(data->window, &frame);
  const RECT& item = view->items[position];
  *rect = RECT{frame.left + item.left, frame.top + item.top, frame.left + item.right, frame.top + item.bottom};
  return TRUE;
}
