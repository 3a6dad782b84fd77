// The sdl backend: the screen in an SDL window through a streaming texture.
// Windows may repaint as often as they like; the host window is refreshed at
// most about sixty times a second.
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/SdlInput.h"

namespace qm::ui {

namespace {

constexpr Uint32 FrameIntervalMs = 16;
constexpr int DefaultWidth = 1024;
constexpr int DefaultHeight = 768;

class SdlDisplay final : public DisplayBackend {
 public:
  bool Open() {
    // Ctrl+C in the terminal must stop the program, not turn into a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    // Without a host display SDL settles on a driver that shows nothing; a
    // window nobody sees is no display, unless SDL_VIDEODRIVER asks for it.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (!asked || SDL_strcasecmp(asked, driver) != 0) &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      SDL_SetError("no host display, only SDL's %s driver", driver);
      return false;
    }
    SDL_Rect usable{0, 0, DefaultWidth, DefaultHeight};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, DefaultWidth, DefaultHeight};
    size_ = {std::min(usable.w, DefaultWidth), std::min(usable.h, DefaultHeight)};
    window_ = SDL_CreateWindow("Quellmoor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size_.cx, size_.cy, 0);
    if (!window_) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, size_.cx, size_.cy);
    if (!texture_) return false;
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_StartTextInput();
    return true;
  }

  ~SdlDisplay() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  const char* Name() const override { return "sdl"; }
  SIZE ScreenSize() const override { return size_; }
  RECT WorkArea() const override { return {0, 0, size_.cx, size_.cy}; }

  void Present(const Surface& screen, const std::vector<RECT>& dirty) override {
    for (const RECT& r : dirty) {
      if (r.right <= r.left || r.bottom <= r.top) continue;
      SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_UpdateTexture(texture_, &area, &screen.pixels[std::size_t(r.top) * screen.width + r.left],
                        screen.width * 4);
      framePending_ = true;
    }
    PresentIfDue();
  }

  void WaitForInput(int timeoutMs) override {
    if (framePending_) {
      int untilFrame = static_cast<int>(FrameIntervalMs - std::min(FrameIntervalMs, SDL_GetTicks() - lastFrame_));
      timeoutMs = timeoutMs < 0 ? untilFrame : std::min(timeoutMs, untilFrame);
    }
    SDL_Event event;
    bool got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
    while (got) {
      Handle(event);
      got = SDL_PollEvent(&event);
    }
    PresentIfDue();
  }

  void Wake() override {
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
  }

 private:
  void Handle(const SDL_Event& event) {
    if (event.type == wakeEvent_) return;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) framePending_ = true;
    InputEvent input;
    if (sdl::TranslateEvent(event, input)) InjectInput(input);
  }

  void PresentIfDue() {
    if (!framePending_ || SDL_GetTicks() - lastFrame_ < FrameIntervalMs) return;
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    lastFrame_ = SDL_GetTicks();
    framePending_ = false;
  }

  SIZE size_{DefaultWidth, DefaultHeight};
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Uint32 wakeEvent_ = 0;
  Uint32 lastFrame_ = 0;
  bool framePending_ = false;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateSdlDisplay() {
  auto display = std::make_unique<SdlDisplay>();
  if (!display->Open()) {
    std::fprintf(stderr, "sdl display unavailable (%s)\n", SDL_GetError());
    return nullptr;
  }
  return display;
}

}  // namespace qm::ui
