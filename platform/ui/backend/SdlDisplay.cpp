// The sdl backend: the screen in an SDL window through a streaming texture.
// Windows may repaint as often as they like; the host window is refreshed at
// most about sixty times a second. The host window can be resized and made
// full screen (F11, or QUELLMOOR_FULLSCREEN=1); the screen keeps its size
// and is scaled into it (SdlScaling.h), by QUELLMOOR_SCALE or from the
// display's DPI.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/SdlInput.h"
#include "platform/ui/backend/SdlLibrary.h"
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
  if (sdl::Api().GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0) return 1;
  return sdl::ScaleForDpi(dpi);
}

bool FullscreenWanted() {
  const char* value = std::getenv("QUELLMOOR_FULLSCREEN");
  return value && std::strcmp(value, "1") == 0;
}

class SdlDisplay final : public DisplayBackend {
 public:
  // False with the reason in *error.
  bool Open(std::string* error) {
    if (!sdl::LoadLibrary(error)) return false;
    loaded_ = true;
    // Ctrl+C in the terminal must stop the program, not turn into a close request.
    sdl::Api().SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl::Api().Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return Failed(error);
    // Without a host display SDL settles on a driver that shows nothing; a
    // window nobody sees is no display, unless SDL_VIDEODRIVER asks for it.
    const char* driver = sdl::Api().GetCurrentVideoDriver();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (driver && (!asked || ::strcasecmp(asked, driver) != 0) &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
      *error = std::string("no host display, only SDL's ") + driver + " driver";
      return false;
    }
    if (driver && std::strcmp(driver, "x11") == 0) sdl::EndProgramWhenXServerIsLost();
    SDL_Rect usable{0, 0, DefaultWidth, DefaultHeight};
    if (sdl::Api().GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, DefaultWidth, DefaultHeight};
    int scale = sdl::OpeningScale(WantedScale(), {DefaultWidth, DefaultHeight}, {usable.w, usable.h});
    size_ = {std::min(usable.w / scale, DefaultWidth), std::min(usable.h / scale, DefaultHeight)};
    Uint32 flags = SDL_WINDOW_RESIZABLE | (FullscreenWanted() ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window_ = sdl::Api().CreateWindow("Quellmoor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size_.cx * scale,
                                      size_.cy * scale, flags);
    if (!window_) return Failed(error);
    sdl::Api().SetWindowMinimumSize(window_, std::max<int>(1, size_.cx / 4), std::max<int>(1, size_.cy / 4));
    renderer_ = sdl::Api().CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = sdl::Api().CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return Failed(error);
    texture_ = sdl::Api().CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, size_.cx,
                                        size_.cy);
    if (!texture_) return Failed(error);
    wakeEvent_ = sdl::Api().RegisterEvents(1);
    sdl::Api().StartTextInput();
    return true;
  }

  ~SdlDisplay() override {
    if (!loaded_) return;
    if (texture_) sdl::Api().DestroyTexture(texture_);
    if (renderer_) sdl::Api().DestroyRenderer(renderer_);
    if (window_) sdl::Api().DestroyWindow(window_);
    sdl::Api().QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  const char* Name() const override { return "sdl"; }
  SIZE ScreenSize() const override { return size_; }
  RECT WorkArea() const override { return {0, 0, size_.cx, size_.cy}; }

  void Present(const Surface& screen, const std::vector<RECT>& dirty) override {
    for (const RECT& r : dirty) {
      if (r.right <= r.left || r.bottom <= r.top) continue;
      SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
      sdl::Api().UpdateTexture(texture_, &area, &screen.pixels[std::size_t(r.top) * screen.width + r.left],
                               screen.width * 4);
      framePending_ = true;
    }
    PresentIfDue();
  }

  void WaitForInput(int timeoutMs) override {
    if (framePending_) {
      Uint32 sinceFrame = sdl::Api().GetTicks() - lastFrame_;
      int untilFrame = static_cast<int>(FrameIntervalMs - std::min(FrameIntervalMs, sinceFrame));
      timeoutMs = timeoutMs < 0 ? untilFrame : std::min(timeoutMs, untilFrame);
    }
    SDL_Event event;
    bool got = timeoutMs < 0 ? sdl::Api().WaitEvent(&event) : sdl::Api().WaitEventTimeout(&event, timeoutMs);
    while (got) {
      Handle(event);
      got = sdl::Api().PollEvent(&event);
    }
    PresentIfDue();
  }

  void Wake() override {
    SDL_Event event{};
    event.type = wakeEvent_;
    sdl::Api().PushEvent(&event);
  }

  void SetTitle(const std::string& utf8) override { sdl::Api().SetWindowTitle(window_, utf8.c_str()); }

  void SetIcon(const Surface& image) override {
    // The image's pixels are 0xAARRGGBB words, which is SDL's ARGB8888.
    SDL_Surface* icon = sdl::Api().CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(image.pixels.data()),
                                                                  image.width, image.height, 32, image.width * 4,
                                                                  SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    sdl::Api().SetWindowIcon(window_, icon);
    sdl::Api().FreeSurface(icon);
  }

  void Minimize() override { sdl::Api().MinimizeWindow(window_); }

 private:
  static bool Failed(std::string* error) {
    *error = sdl::Api().GetError();
    return false;
  }

  void Handle(const SDL_Event& event) {
    if (event.type == wakeEvent_) return;
    if (event.type == SDL_WINDOWEVENT &&
        (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
      framePending_ = true;
    int width = 0, height = 0;
    sdl::Api().GetWindowSize(window_, &width, &height);
    InputEvent input;
    if (!sdl::TranslateEvent(event, sdl::PlaceScreen(size_, {width, height}), input)) return;
    if (input.virtualKey == FullscreenKey && (input.kind == InputKind::KeyDown || input.kind == InputKind::KeyUp)) {
      if (input.kind == InputKind::KeyDown) ToggleFullscreen();
      return;
    }
    InjectInput(input);
  }

  void ToggleFullscreen() {
    bool full = (sdl::Api().GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    sdl::Api().SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    framePending_ = true;
  }

  void PresentIfDue() {
    if (!framePending_ || sdl::Api().GetTicks() - lastFrame_ < FrameIntervalMs) return;
    int width = 0, height = 0;
    sdl::Api().GetRendererOutputSize(renderer_, &width, &height);
    sdl::ScreenPlacement placement = sdl::PlaceScreen(size_, {width, height});
    const RECT& a = placement.area;
    SDL_Rect area{a.left, a.top, a.right - a.left, a.bottom - a.top};
    // Whole factors keep every pixel sharp; a shrunk screen is smoothed.
    bool whole = area.w % size_.cx == 0 && area.h % size_.cy == 0;
    sdl::Api().SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    sdl::Api().SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    sdl::Api().RenderClear(renderer_);
    sdl::Api().RenderCopy(renderer_, texture_, nullptr, &area);
    sdl::Api().RenderPresent(renderer_);
    lastFrame_ = sdl::Api().GetTicks();
    framePending_ = false;
  }

  SIZE size_{DefaultWidth, DefaultHeight};
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Uint32 wakeEvent_ = 0;
  Uint32 lastFrame_ = 0;
  bool framePending_ = false;
  bool loaded_ = false;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateSdlDisplay() {
  auto display = std::make_unique<SdlDisplay>();
  std::string error;
  if (!display->Open(&error)) {
    std::fprintf(stderr, "sdl display unavailable (%s)\n", error.c_str());
    return nullptr;
  }
  return display;
}

}  // namespace qm::ui
