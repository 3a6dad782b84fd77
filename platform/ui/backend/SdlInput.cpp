#include "platform/ui/backend/SdlInput.h"

#include "platform/ui/WinUser.h"
#include "platform/ui/backend/SdlLibrary.h"

namespace qm::ui::sdl {

namespace {

void SetModifiers(InputEvent& input, Uint16 mod) {
  input.shift = (mod & KMOD_SHIFT) != 0;
  input.control = (mod & KMOD_CTRL) != 0;
  input.alt = (mod & KMOD_ALT) != 0;
}

MouseButton ButtonOf(Uint8 button) {
  if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
  if (button == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
  return MouseButton::Left;
}

}  // namespace

UINT VirtualKeyFromKeycode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
  }
}

bool TranslateEvent(const SDL_Event& event, const ScreenPlacement& placement, InputEvent& input) {
  input = InputEvent{};
  switch (event.type) {
    case SDL_MOUSEMOTION:
      input.kind = InputKind::MouseMove;
      input.point = NearestScreenPoint(placement, {event.motion.x, event.motion.y});
      SetModifiers(input, Api().GetModState());
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      POINT host{event.button.x, event.button.y};
      input.kind = event.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
      if (input.kind == InputKind::MouseDown) {
        std::optional<POINT> onScreen = ScreenPointAt(placement, host);
        if (!onScreen) return false;
        input.point = *onScreen;
      } else {
        // A release over the bars still ends a press that began on the screen.
        input.point = NearestScreenPoint(placement, host);
      }
      input.button = ButtonOf(event.button.button);
      SetModifiers(input, Api().GetModState());
      return true;
    }
    case SDL_MOUSEWHEEL: {
      if (event.wheel.y == 0) return false;
      input.kind = InputKind::MouseWheel;
      int x = 0, y = 0;
      Api().GetMouseState(&x, &y);
      input.point = NearestScreenPoint(placement, {x, y});
      int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      input.wheelDelta = notches * WHEEL_DELTA;
      SetModifiers(input, Api().GetModState());
      return true;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event != SDL_WINDOWEVENT_RESTORED) return false;
      input.kind = InputKind::HostRestored;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      input.kind = event.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
      input.virtualKey = VirtualKeyFromKeycode(event.key.keysym.sym);
      SetModifiers(input, event.key.keysym.mod);
      return input.virtualKey != 0;
    case SDL_TEXTINPUT:
      // Alt and Ctrl combinations are commands, never text.
      if (Api().GetModState() & (KMOD_ALT | KMOD_CTRL)) return false;
      input.kind = InputKind::Text;
      input.text = event.text.text;
      return !input.text.empty();
    case SDL_QUIT:
      // Closing the host window asks the active window to close, as Alt+F4 does.
      input.kind = InputKind::KeyDown;
      input.virtualKey = VK_F4;
      input.alt = true;
      return true;
    default:
      return false;
  }
}

}  // namespace qm::ui::sdl
