// Host input of the sdl backend in the window system's terms.
#pragma once

#include <SDL.h>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/backend/SdlScaling.h"

namespace qm::ui::sdl {

// The one place where an SDL event becomes an input event; false for events
// that are not input. Mouse positions are host pixels, mapped to the screen
// through `placement`: a press on the bars around the screen is no input.
bool TranslateEvent(const SDL_Event& event, const ScreenPlacement& placement, InputEvent& input);
UINT VirtualKeyFromKeycode(SDL_Keycode key);

}  // namespace qm::ui::sdl
