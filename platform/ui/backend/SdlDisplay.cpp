// The sdl backend: the screen in an SDL window through a streaming texture.
// Windows may repaint as often as they like; the host window is refreshed at
// most about sixty times a second. The host window can be resized and made
// full screen (F11, or QUELLMOOR_FULLSCREEN=1); the screen keeps its size
// and is scaled into it (SdlScaling.h), by QUELLMOOR_SCALE or from the
// display's DPI.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/SdlInput.h"
#include "platform/ui/backend/SdlScaling.h"

namespace qm::ui {

namespace {

constexpr Uint32 FrameIntervalMs = 16;
constexpr int DefaultWidth = 1024;
constexpr int DefaultHeight = 768;
constexpr UINT FullscreenKey = VK_F1 + 10;  // F11, the host window's own key

int WantedScale() {
  if (int scale = sdl::ParseScale(std::getenv("QUELLMOOR_SCALE"))) return scale;
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0) return 1;
  return sdl::ScaleForDpi(dpi);
}

bool FullscreenWanted() {
  const char* value = std::getenv("QUELLMOOR_FULLSCREEN");
  return value && std::strcmp(value, "1") == 0;
}

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
    int scale = sdl::OpeningScale(WantedScale(), {DefaultWidth, DefaultHeight}, {usable.w, usable.h});
    size_ = {std::min(usable.w / scale, DefaultWidth), std::min(usable.h / scale, DefaultHeight)};
    Uint32 flags = SDL_WINDOW_RESIZABLE | (FullscreenWanted() ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window_ = SDL_CreateWindow("Quellmoor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size_.cx * scale,
                               size_.cy * scale, flags);
    if (!window_) return false;
    SDL_SetWindowMinimumSize(window_, std::max<int>(1, size_.cx / 4), std::max<int>(1, size_.cy / 4));
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

  void SetTitle(const std::string& utf8) override { SDL_SetWindowTitle(window_, utf8.c_str()); }

  void SetIcon(const Surface& image) override {
    // The image's pixels are 0xAARRGGBB words, which is SDL's ARGB8888.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(image.pixels.data()),
                                                           image.width, image.height, 32, image.width * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }

  void Minimize() override { SDL_MinimizeWindow(window_); }

 private:
  void Handle(const SDL_Event& event) {
    if (event.type == wakeEvent_) return;
    if (event.type == SDL_WINDOWEVENT &&
        (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
      framePending_ = true;
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    InputEvent input;
    if (!sdl::TranslateEvent(event, sdl::PlaceScreen(size_, {width, height}), input)) return;
    if (input.virtualKey == FullscreenKey && (input.kind == InputKind::KeyDown || input.kind == InputKind::KeyUp)) {
      if (input.kind == InputKind::KeyDown) ToggleFullscreen();
      return;
    }
    InjectInput(input);
  }

  void ToggleFullscreen() {
    bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    framePending_ = true;
  }

  void PresentIfDue() {
    if (!framePending_ || SDL_GetTicks() - lastFrame_ < FrameIntervalMs) return;
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    sdl::ScreenPlacement placement = sdl::PlaceScreen(size_, {width, height});
    const RECT& a = placement.area;
    SDL_Rect area{a.left, a.top, a.right - a.left, a.bottom - a.top};
    // Whole factors keep every pixel sharp; a shrunk screen is smoothed.
    bool whole = area.w % size_.cx == 0 && area.h % size_.cy == 0;
    SDL_SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &area);
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
