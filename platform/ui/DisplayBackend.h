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

// The backend of this process, chosen on first use from QUELLMOOR_DISPLAY
// ("sdl" or "headless"; default sdl where a display exists, else headless).
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
