// Which display backend this process uses: chosen once, from the
// environment, unless a test or the automation driver sets one.
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui {

namespace {

std::mutex& DisplayMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<DisplayBackend>& Current() {
  static std::unique_ptr<DisplayBackend> current;
  return current;
}

std::unique_ptr<DisplayBackend> ChooseFromEnvironment() {
  const char* script = std::getenv("QUELLMOOR_SCRIPT");
  if (script && *script) return CreateHeadlessDisplay();
  const char* name = std::getenv("QUELLMOOR_DISPLAY");
  bool hostDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if (name && std::strcmp(name, "headless") == 0) return CreateHeadlessDisplay();
  if ((name && std::strcmp(name, "sdl") == 0) || (!name && hostDisplay)) {
    if (auto sdl = CreateSdlDisplay()) return sdl;
  }
  return CreateHeadlessDisplay();
}

}  // namespace

DisplayBackend& Display() {
  std::lock_guard lock(DisplayMutex());
  if (!Current()) Current() = ChooseFromEnvironment();
  return *Current();
}

void UseDisplay(std::unique_ptr<DisplayBackend> backend) {
  {
    std::lock_guard lock(DisplayMutex());
    Current() = std::move(backend);
  }
  user::ResetScreen();
}

}  // namespace qm::ui
