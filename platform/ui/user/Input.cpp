// Input into the window system: every host event and every automation step
// arrives through InjectInput, which finds the window it is for and posts the
// message a real mouse or keyboard would.
#include <cstdlib>
#include <set>

#include "platform/kernel/Utf8.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/HostWindow.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr LPARAM AltContextBit = LPARAM(1) << 29;
constexpr LPARAM PreviousStateBit = LPARAM(1) << 30;
constexpr LPARAM TransitionBit = LPARAM(1) << 31;

constexpr long long DoubleClickMs = 500;
constexpr int DoubleClickSlop = 4;

struct KeyboardState {
  int modifiers = 0;
  HWND lastDownWindow = nullptr;
  long long lastDownTime = 0;
  POINT lastDownPoint{0, 0};
  std::set<UINT> keysDown;
  bool leftDown = false;
  bool rightDown = false;
  POINT cursor{0, 0};
};

KeyboardState& State() {
  static KeyboardState state;
  return state;
}

int ModifiersOf(const qm::ui::InputEvent& e) {
  return (e.shift ? ShiftHeld : 0) | (e.control ? ControlHeld : 0) | (e.alt ? AltHeld : 0);
}

HWND KeyboardTarget() {
  auto& wm = Wm();
  if (Find(wm.focus)) return wm.focus;
  return Find(wm.active) ? wm.active : nullptr;
}

// A second press on the same window, soon and near the first, is a double
// click for classes that ask for them; a third press starts over.
bool IsDoubleClick(HWND target, POINT point) {
  KeyboardState& state = State();
  Window* w = Find(target);
  long long now = NowMs();
  bool isDouble = w && (w->windowClass->info.style & CS_DBLCLKS) && state.lastDownWindow == target &&
                  now - state.lastDownTime <= DoubleClickMs &&
                  std::abs(point.x - state.lastDownPoint.x) <= DoubleClickSlop &&
                  std::abs(point.y - state.lastDownPoint.y) <= DoubleClickSlop;
  state.lastDownWindow = isDouble ? nullptr : target;
  state.lastDownTime = now;
  state.lastDownPoint = point;
  return isDouble;
}

void InjectMouse(const qm::ui::InputEvent& e) {
  KeyboardState& state = State();
  state.cursor = e.point;
  bool left = e.button == qm::ui::MouseButton::Left;
  if (e.kind == qm::ui::InputKind::MouseDown) (left ? state.leftDown : state.rightDown) = true;
  if (e.kind == qm::ui::InputKind::MouseUp) (left ? state.leftDown : state.rightDown) = false;

  HWND capture = Wm().capture;
  HWND target = Find(capture) ? capture : WindowFromPoint(e.point);
  // Where minimizing the host window does nothing (a window manager that
  // ignores it), a click on the bare desktop brings the main window back.
  if (IsDesktop(target) && e.kind == qm::ui::InputKind::MouseDown) HostWindowRestored();
  if (!Find(target) || IsDesktop(target)) return;
  HWND root = RootOf(target);
  if (e.kind == qm::ui::InputKind::MouseDown && !capture) {
    if (Window* r = Find(root); r && (r->style & WS_DISABLED)) {
      // A window disabled under a modal dialog hands the click's activation to that dialog.
      if (HWND popup = EnabledPopupOf(root)) ActivateWindow(popup, WA_CLICKACTIVE);
      return;
    }
    if (Wm().active != root) ActivateWindow(root, WA_CLICKACTIVE);
    if (!Find(target)) return;
  }
  int modifiers = ModifiersOf(e);
  WPARAM keys = (state.leftDown ? MK_LBUTTON : 0) | (state.rightDown ? MK_RBUTTON : 0) |
                (e.shift ? MK_SHIFT : 0) | (e.control ? MK_CONTROL : 0);
  LRESULT hit = HTCLIENT;
  if (!Find(capture)) {
    hit = SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(WORD(e.point.x), WORD(e.point.y)));
    // The pointer takes the shape the window under it asks for.
    if (e.kind != qm::ui::InputKind::MouseUp && Find(target))
      SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                   MAKELPARAM(WORD(hit), WORD(e.kind == qm::ui::InputKind::MouseMove ? WM_MOUSEMOVE : WM_LBUTTONDOWN)));
    if (!Find(target)) return;
  }
  if (hit != HTCLIENT) {
    if (e.kind == qm::ui::InputKind::MouseDown && left)
      PostInput(target, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(WORD(e.point.x), WORD(e.point.y)),
                e.point, modifiers);
    else if (e.kind == qm::ui::InputKind::MouseUp && left)
      PostInput(target, WM_NCLBUTTONUP, static_cast<WPARAM>(hit), MAKELPARAM(WORD(e.point.x), WORD(e.point.y)),
                e.point, modifiers);
    return;
  }
  POINT client = e.point;
  ScreenToClient(target, &client);
  UINT message = WM_MOUSEMOVE;
  if (e.kind == qm::ui::InputKind::MouseDown) message = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  if (message == WM_LBUTTONDOWN && IsDoubleClick(target, e.point)) message = WM_LBUTTONDBLCLK;
  if (e.kind == qm::ui::InputKind::MouseUp) message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  if (!left && e.button != qm::ui::MouseButton::Right && message != WM_MOUSEMOVE) return;
  PostInput(target, message, keys, MAKELPARAM(WORD(client.x), WORD(client.y)), e.point, modifiers);
}

// The wheel turns whatever has the keyboard focus; a child that does not
// scroll hands it on to its parent (DefWindowProc).
void InjectWheel(const qm::ui::InputEvent& e) {
  KeyboardState& state = State();
  state.cursor = e.point;
  HWND target = KeyboardTarget();
  if (!target) return;
  WPARAM keys = (state.leftDown ? MK_LBUTTON : 0) | (state.rightDown ? MK_RBUTTON : 0) | (e.shift ? MK_SHIFT : 0) |
                (e.control ? MK_CONTROL : 0);
  PostInput(target, WM_MOUSEWHEEL, MAKEWPARAM(WORD(keys), WORD(static_cast<short>(e.wheelDelta))),
            MAKELPARAM(WORD(e.point.x), WORD(e.point.y)), e.point, ModifiersOf(e));
}

void InjectKey(const qm::ui::InputEvent& e) {
  HWND target = KeyboardTarget();
  if (!target) return;
  bool down = e.kind == qm::ui::InputKind::KeyDown;
  bool system = (e.alt && !e.control) || e.virtualKey == VK_MENU || e.virtualKey == VK_F1 + 9;
  UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LPARAM lParam = 1 | (e.alt ? AltContextBit : 0) | (down ? 0 : PreviousStateBit | TransitionBit);
  PostInput(target, message, e.virtualKey, lParam, State().cursor, ModifiersOf(e));
}

void InjectText(const qm::ui::InputEvent& e) {
  HWND target = KeyboardTarget();
  if (!target) return;
  // Bytes of the text that are not UTF-8 arrive as U+FFFD, one for each
  // ill-formed subsequence, as drawing shows them.
  for (char32_t cp : qm::kernel::DecodeUtf8(e.text)) PostInput(target, WM_CHAR, cp, 1, State().cursor, ModifiersOf(e));
}

}  // namespace

namespace qm::ui::user {

void NoteInputTaken(const MSG& msg, int modifiers) {
  KeyboardState& state = State();
  state.modifiers = modifiers;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) state.keysDown.insert(static_cast<UINT>(msg.wParam));
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) state.keysDown.erase(static_cast<UINT>(msg.wParam));
}

}  // namespace qm::ui::user

namespace qm::ui {

void InjectInput(const InputEvent& event) {
  GetDesktopWindow();
  switch (event.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp: InjectMouse(event); break;
    case InputKind::MouseWheel: InjectWheel(event); break;
    case InputKind::KeyDown:
    case InputKind::KeyUp: InjectKey(event); break;
    case InputKind::Text: InjectText(event); break;
    case InputKind::HostRestored: HostWindowRestored(); break;
  }
}

}  // namespace qm::ui

short GetKeyState(int virtualKey) {
  KeyboardState& state = State();
  bool down = false;
  switch (virtualKey) {
    case VK_SHIFT: down = state.modifiers & ShiftHeld; break;
    case VK_CONTROL: down = state.modifiers & ControlHeld; break;
    case VK_MENU: down = state.modifiers & AltHeld; break;
    case 0x01: down = state.leftDown; break;  // VK_LBUTTON
    case 0x02: down = state.rightDown; break;  // VK_RBUTTON
    default: down = state.keysDown.count(static_cast<UINT>(virtualKey)) != 0; break;
  }
  return down ? static_cast<short>(0x8000) : 0;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = State().cursor;
  return TRUE;
}
