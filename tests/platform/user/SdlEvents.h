// Host events as SDL delivers them, for the tests of the sdl display.
#pragma once

#include <SDL.h>

namespace qm::test {

inline SDL_Event SdlKey(SDL_Keycode key, Uint16 mod = 0) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  return event;
}

inline SDL_Event SdlButton(Uint32 type, Uint8 button, int x, int y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

}  // namespace qm::test
