// The display backends behind one small interface: `headless` (the screen is
// a surface in memory) and `sdl` (an SDL2 window). Host input of every kind,
// and the automation driver's input, enter the window system through
// InjectInput only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"
#include "platform/ui/Surface.h"

namespace qm::ui {

// HostRestored: the host window came back from being minimized.
enum class InputKind { MouseMove, MouseDown, MouseUp, MouseWheel, KeyDown, KeyUp, Text, HostRestored };
enum class MouseButton { Left, Right, Middle };

struct InputEvent {
  InputKind kind = InputKind::MouseMove;
  POINT point{};                 // screen coordinates, for mouse events
  MouseButton button = MouseButton::Left;
  int wheelDelta = 0;            // for wheel events: WHEEL_DELTA per notch, positive away from the user
  UINT virtualKey = 0;           // VK_ code, for key events
  std::string text;              // UTF-8, for Text events
  bool shift = false;
  bool control = false;
  bool alt = false;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* Name() const = 0;
  virtual SIZE ScreenSize() const = 0;
  // The part of the screen a maximized window covers.
  virtual RECT WorkArea() const = 0;
  // Shows the composed screen; only the dirty rectangles changed.
  virtual void Present(const Surface& screen, const std::vector<RECT>& dirty) = 0;
  // False where nothing shows the screen: it is then composed only when it
  // is read (ScreenSurface), not whenever the message loop idles, which in
  // a copy is once per file.
  virtual bool ShowsScreen() const { return true; }
  // Waits up to timeoutMs (-1: no limit) for host input and hands each event
  // to InjectInput. Returns early when Wake is called (from any thread).
  virtual void WaitForInput(int timeoutMs) = 0;
  virtual void Wake() = 0;
  // The host window follows the program's main window: its caption, its
  // class icon, its minimize box. A backend without a host window ignores them.
  virtual void SetTitle(const std::string& /*utf8*/) {}
  virtual void SetIcon(const Surface& /*image*/) {}
  virtual void Minimize() {}
};

// The backends a program can be shown on, by name: QUELLMOOR_DISPLAY names
// one of them.
struct DisplayBackendEntry {
  const char* name;
  const char* description;  // one line, for the list of known backends
  std::unique_ptr<DisplayBackend> (*create)();  // null when it cannot be opened
};
// headless, then sdl.
const std::vector<DisplayBackendEntry>& DisplayBackends();

// What the environment asks for.
struct DisplayRequest {
  std::string name;          // QUELLMOOR_DISPLAY; empty when not set
  bool hostDisplay = false;  // DISPLAY or WAYLAND_DISPLAY is set
  bool unattended = false;   // a response script plays
};
struct DisplayChoice {
  std::unique_ptr<DisplayBackend> backend;  // null: the program cannot go on
  std::string message;  // why there is none, or what was chosen instead; empty when all is as asked
};
// The rules: a name not in the table is refused, with the known names
// listed; an unattended run is always headless; a backend asked for by name
// that cannot be opened is refused; without a name, sdl where the host has a
// display (headless when it cannot be opened), headless otherwise.
DisplayChoice ChooseDisplay(const DisplayRequest& request,
                            const std::vector<DisplayBackendEntry>& backends = DisplayBackends());

// Chooses this process's backend from QUELLMOOR_DISPLAY and the host's
// display, unless one is in use already. When the choice is refused the
// program ends with the message on stderr and exit status 2, rather than
// running where nobody can see it. The window system's start-up calls this
// (telling whether a script plays); Display() does on first use otherwise.
void ChooseDisplayFromEnvironment(bool unattended);
// The backend of this process.
DisplayBackend& Display();
// Replaces the backend (tests: a headless screen of a chosen size).
void UseDisplay(std::unique_ptr<DisplayBackend> backend);
std::unique_ptr<DisplayBackend> CreateHeadlessDisplay(int width = 1024, int height = 768);
std::unique_ptr<DisplayBackend> CreateSdlDisplay();

// The one entry point for input into the window system.
void InjectInput(const InputEvent& event);

// The composed screen as last presented (screenshots, pixel tests).
const Surface& ScreenSurface();
bool SavePng(const Surface& surface, const std::string& hostPath);

}  // namespace qm::ui
