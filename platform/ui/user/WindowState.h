// The window manager's own records: window classes, windows and the state
// shared by the window functions (z-order, activation, focus, capture). Only
// the window system's implementation files include this.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/Surface.h"
#include "platform/ui/WinUser.h"

namespace qm::ui::user {

struct ScrollBars;  // ScrollBars.h

struct WindowClass {
  WNDCLASSEXA info{};
  std::string name;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // children only
  HWND owner = nullptr;   // top-level windows only
  std::vector<HWND> children;  // top of the z-order first
  UINT_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::string text;
  RECT rect{};  // the whole window: in the parent's client coordinates, on the screen for top-level windows
  std::vector<BYTE> extra;
  LONG_PTR userData = 0;
  // Pending paint, in client coordinates.
  bool hasUpdate = false;
  RECT update{};
  bool updateErase = false;
  bool frameDirty = false;
  bool maximized = false;
  bool minimized = false;
  RECT normalRect{};      // where a maximized window goes when it is restored
  RECT unminimizedRect{};  // where a minimized window comes back to
  bool hiddenWithOwner = false;  // hidden because its owner was minimized
  HWND lastActivePopup = nullptr;  // active when the window was minimized
  LRESULT pressedBox = HTNOWHERE;  // the caption box held down, see CaptionButtons.h
  bool captionActive = false;
  bool closeDisabled = false;  // see CloseBox.h
  bool destroying = false;
  HWND lastFocus = nullptr;
  // Top-level windows keep the picture of the whole window.
  std::shared_ptr<Surface> surface;
  // The state of WS_VSCROLL / WS_HSCROLL bars, made when first needed.
  std::shared_ptr<ScrollBars> scrollBars;

  bool IsChild() const { return (style & WS_CHILD) != 0; }
  bool IsVisibleFlag() const { return (style & WS_VISIBLE) != 0; }
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapseMs = 0;
  TIMERPROC proc = nullptr;
  long long dueMs = 0;
};

struct WindowManager {
  std::map<std::string, std::shared_ptr<WindowClass>> classes;  // by upper-cased name
  // Looked up for nearly every call the program makes, in no order.
  std::unordered_map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> topLevels;  // top of the z-order first
  std::uintptr_t nextHandle = 0x10010;
  HWND desktop = nullptr;
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  unsigned long paintSerial = 0;  // counts BeginPaint calls
  // Some window may wait for a paint. Set by whatever invalidates a window
  // or its frame; cleared by a search of every window that finds none to
  // paint, so the pump between a copy's files does not search in vain.
  bool paintMayWait = false;
};

WindowManager& Wm();
std::shared_ptr<WindowClass> FindClass(LPCSTR name);
Window* Find(HWND hwnd);
Window* FindOrDesktop(HWND hwnd);
bool IsDesktop(HWND hwnd);
HWND RootOf(HWND hwnd);
bool IsDescendant(HWND ancestor, HWND hwnd);
// Visible itself and every ancestor.
bool IsShown(const Window& w);
// Enabled itself and every ancestor.
bool AcceptsInput(HWND hwnd);

// Geometry (Geometry.cpp): offsets of a window's client area and window
// rectangle inside its top-level window's surface, and on the screen.
RECT NonClientInsets(const Window& w);
RECT ClientRectInWindow(const Window& w);  // client area relative to the window's own top-left
POINT WindowOriginOnScreen(const Window& w);
POINT ClientOriginOnScreen(const Window& w);
POINT WindowOriginInRoot(const Window& w);
POINT ClientOriginInRoot(const Window& w);
// The part of the root surface a window may draw into: its client area (or
// whole window) clipped by every ancestor's client area.
RECT VisibleClipInRoot(const Window& w, bool wholeWindow);
bool HasCaption(const Window& w);

// Painting (Painting.cpp).
void InvalidateWindow(Window& w, const RECT* clientRect, bool erase, bool frame);
void InvalidateTree(Window& w, bool erase);
// Has the window's frame repainted at the next paint search.
void MarkFrameDirty(Window& w);
HWND NextWindowToPaint(HWND filter);
void PaintFrameNow(Window& w);
void EnsureSurface(Window& w);
HDC MakeWindowDC(Window& w, bool wholeWindow, const RECT* clipClient);
void FinishWindowDC(Window& w, HDC dc);

// Compositor (Compositor.cpp).
void MarkScreenDirty(const RECT& screenRect);
// Brings the host window up to date and, where the display shows the
// screen, composes and presents what changed; an unseen screen waits until
// it is read (ScreenSurface).
void ComposeScreen();
// Forgets the composed screen (a new backend): the next composition redoes it all.
void ResetScreen();

// Activation (Activation.cpp).
void BringToTop(HWND hwnd);
void ActivateWindow(HWND hwnd, WORD how);
void ActivateAnotherThan(HWND leaving);
void ForgetWindow(HWND hwnd);
// The enabled window a click on a disabled top-level window goes to: its last
// enabled owned popup, if any.
HWND EnabledPopupOf(HWND hwnd);
// Owned by `owner` directly or through owners of owners.
bool IsOwnedBy(HWND hwnd, HWND owner);
// A top-level window that can be activated.
bool IsActivatable(HWND hwnd);

// Minimized, maximized and restored top-level windows (ShowState.cpp).
void MinimizeWindow(HWND hwnd);
void MaximizeWindow(HWND hwnd);
// Back from minimized (true: the window was minimized) or from maximized.
bool RestoreWindow(HWND hwnd);

// Non-client area (NonClient.cpp).
void DrawNonClient(Window& w);
// The frame's width on each side, without client edges.
int FrameThickness(const Window& w);
LRESULT NonClientHitTest(const Window& w, POINT screen);
// The close box is greyed: by CS_NOCLOSE or DisableCloseBox.
bool CloseBoxDisabled(const Window& w);
void TrackWindowMove(HWND hwnd, POINT start);  // WindowMove.cpp
constexpr int CaptionHeight = 18;  // the bar itself; a 1-pixel line below it belongs to the caption area

// Message queue (MessageQueue.cpp).
void RemoveTimersOf(HWND hwnd);
void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT screenPoint, int modifiers);

// Keyboard state (Input.cpp).
constexpr int ShiftHeld = 1, ControlHeld = 2, AltHeld = 4;
void NoteInputTaken(const MSG& msg, int modifiers);
long long NowMs();

}  // namespace qm::ui::user
