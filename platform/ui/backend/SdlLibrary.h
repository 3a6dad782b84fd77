// The SDL functions of the sdl backend, taken from libSDL2 when that
// backend is first chosen: a program on another display never loads SDL,
// nor the host's window, sound and input libraries behind it.
#pragma once

#include <SDL.h>

#include <string>

namespace qm::ui::sdl {

// clang-format off
#define QM_SDL_FUNCTIONS(X)                                                                            \
  X(CreateRenderer) X(CreateRGBSurfaceWithFormatFrom) X(CreateTexture) X(CreateWindow)               \
  X(DestroyRenderer) X(DestroyTexture) X(DestroyWindow) X(FreeSurface) X(GetCurrentVideoDriver)      \
  X(GetDisplayDPI) X(GetDisplayUsableBounds) X(GetError) X(GetModState) X(GetMouseState)             \
  X(GetRendererOutputSize) X(GetTicks) X(GetWindowFlags) X(GetWindowSize) X(Init) X(MinimizeWindow)  \
  X(PollEvent) X(PushEvent) X(QuitSubSystem) X(RegisterEvents) X(RenderClear) X(RenderCopy)          \
  X(RenderPresent) X(SetHint) X(SetRenderDrawColor) X(SetTextureScaleMode) X(SetWindowFullscreen)    \
  X(SetWindowIcon) X(SetWindowMinimumSize) X(SetWindowTitle) X(StartTextInput) X(UpdateTexture)      \
  X(WaitEvent) X(WaitEventTimeout)
// clang-format on

struct Functions {
#define QM_SDL_FIELD(name) decltype(&::SDL_##name) name = nullptr;
  QM_SDL_FUNCTIONS(QM_SDL_FIELD)
#undef QM_SDL_FIELD
};

// Loads libSDL2 and finds every function above, once; false, with the
// loader's reason in *error, when the library or one of them is missing.
bool LoadLibrary(std::string* error);

// The functions, once LoadLibrary has succeeded.
const Functions& Api();

// On an X display (SDL's x11 driver): a lost connection to the X server
// ends the program at once, with a message and exit status 1. Where the X
// library's handler cannot be set, Xlib ends the program itself.
void EndProgramWhenXServerIsLost();

}  // namespace qm::ui::sdl
