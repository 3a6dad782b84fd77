// Host input of the sdl backend in the window system's terms.
#pragma once

#include <SDL.h>

#include "platform/ui/DisplayBackend.h"

namespace qm::ui::sdl {

// The one place where an SDL event becomes an input event; false for events
// that are not input.
bool TranslateEvent(const SDL_Event& event, InputEvent& input);
UINT VirtualKeyFromKeycode(SDL_Keycode key);

}  // namespace qm::ui::sdl
