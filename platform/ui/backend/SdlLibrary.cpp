#include "platform/ui/backend/SdlLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/kernel/host/SharedLibrary.h"

namespace qm::ui::sdl {
namespace {

// The name SDL2's run-time library has on every host it is packaged for.
constexpr char kLibraryName[] = "libSDL2-2.0.so.0";

struct Loaded {
  bool done = false;
  bool ok = false;
  std::string error;
  Functions functions;
};

Loaded& TheLibrary() {
  static Loaded* loaded = new Loaded;  // used until the very end of the process
  return *loaded;
}

bool Load(Loaded& loaded) {
  qm::kernel::host::SharedLibrary library;
  if (!library.Open(kLibraryName)) {
    loaded.error = library.Error();
    return false;
  }
#define QM_SDL_FIND(name)                                                                        \
  loaded.functions.name = reinterpret_cast<decltype(&::SDL_##name)>(library.Find("SDL_" #name)); \
  if (!loaded.functions.name) {                                                                  \
    loaded.error = library.Error();                                                              \
    return false;                                                                                \
  }
  QM_SDL_FUNCTIONS(QM_SDL_FIND)
#undef QM_SDL_FIND
  return true;
}

}  // namespace

bool LoadLibrary(std::string* error) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  Loaded& loaded = TheLibrary();
  if (!loaded.done) {
    loaded.ok = Load(loaded);
    loaded.done = true;
  }
  if (!loaded.ok && error) *error = loaded.error;
  return loaded.ok;
}

const Functions& Api() {
  Loaded& loaded = TheLibrary();
  if (!loaded.ok && !LoadLibrary(nullptr)) {
    // Only the sdl backend, which has loaded the library, gets here.
    std::fprintf(stderr, "SDL2 used before it was loaded (%s)\n", loaded.error.c_str());
    std::abort();
  }
  return loaded.functions;
}

}  // namespace qm::ui::sdl
