// Which display backend this process uses: chosen once, by name from a table,
// from the environment, unless a test or the automation driver sets one.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui {

namespace {

constexpr char kHeadless[] = "headless";
constexpr char kSdl[] = "sdl";
// A display that cannot be had is a mistake in how the program was started.
constexpr int kDisplayRefused = 2;

std::mutex& DisplayMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<DisplayBackend>& Current() {
  static std::unique_ptr<DisplayBackend> current;
  return current;
}

const DisplayBackendEntry* Find(const std::vector<DisplayBackendEntry>& backends, const std::string& name) {
  for (const DisplayBackendEntry& entry : backends)
    if (name == entry.name) return &entry;
  return nullptr;
}

std::string KnownBackends(const std::vector<DisplayBackendEntry>& backends) {
  std::string list;
  for (const DisplayBackendEntry& entry : backends) {
    std::string name = entry.name;
    if (name.size() < 10) name.resize(10, ' ');
    list += "\n  " + name + entry.description;
  }
  return list;
}

DisplayRequest RequestFromEnvironment(bool unattended) {
  DisplayRequest request;
  if (const char* name = std::getenv("QUELLMOOR_DISPLAY")) request.name = name;
  request.hostDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  request.unattended = unattended;
  return request;
}

// Under the lock: the first use of the display may come from any thread.
void ChooseLocked(bool unattended) {
  if (Current()) return;
  DisplayChoice choice = ChooseDisplay(RequestFromEnvironment(unattended));
  if (!choice.message.empty()) std::fprintf(stderr, "%s\n", choice.message.c_str());
  if (!choice.backend) {
    std::fflush(stderr);
    std::_Exit(kDisplayRefused);
  }
  Current() = std::move(choice.backend);
}

}  // namespace

const std::vector<DisplayBackendEntry>& DisplayBackends() {
  static const std::vector<DisplayBackendEntry> backends{
      {kHeadless, "no window: the screen is kept in memory (tests, screenshots, unattended runs)",
       [] { return CreateHeadlessDisplay(); }},
      {kSdl, "an SDL2 window on the host's display", [] { return CreateSdlDisplay(); }},
  };
  return backends;
}

DisplayChoice ChooseDisplay(const DisplayRequest& request, const std::vector<DisplayBackendEntry>& backends) {
  DisplayChoice choice;
  const DisplayBackendEntry* named = nullptr;
  if (!request.name.empty() && !(named = Find(backends, request.name))) {
    choice.message = "QUELLMOOR_DISPLAY=" + request.name + " names no known display; the known displays are:" +
                     KnownBackends(backends);
    return choice;
  }
  const DisplayBackendEntry* headless = Find(backends, kHeadless);
  if (!headless) {
    choice.message = "no headless display to fall back on";
    return choice;
  }
  if (request.unattended) {
    choice.backend = headless->create();
    return choice;
  }
  if (named) {
    choice.backend = named->create();
    if (!choice.backend) choice.message = "QUELLMOOR_DISPLAY=" + request.name + ": the display cannot be opened";
    return choice;
  }
  if (request.hostDisplay) {
    if (const DisplayBackendEntry* sdl = Find(backends, kSdl)) {
      choice.backend = sdl->create();
      if (choice.backend) return choice;
      choice.message = "the host's display cannot be opened; running on the headless display";
    }
  }
  choice.backend = headless->create();
  return choice;
}

void ChooseDisplayFromEnvironment(bool unattended) {
  std::lock_guard lock(DisplayMutex());
  ChooseLocked(unattended);
}

DisplayBackend& Display() {
  std::lock_guard lock(DisplayMutex());
  ChooseLocked(false);
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
