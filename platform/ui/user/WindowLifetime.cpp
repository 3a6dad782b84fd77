// Creating and destroying windows, and the desktop window every top-level
// window sits on.
#include <algorithm>
#include <cstdlib>

#include "platform/kernel/LastError.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WindowSystemExit.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

LRESULT DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND || message == WM_PAINT) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND NewHandle() {
  auto& wm = Wm();
  HWND handle = reinterpret_cast<HWND>(wm.nextHandle);
  wm.nextHandle += 4;
  return handle;
}

// Where a top-level window goes when the caller leaves position or size to us.
void ApplyDefaults(int& x, int& y, int& width, int& height) {
  SIZE screen = qm::ui::Display().ScreenSize();
  if (width == CW_USEDEFAULT) {
    width = screen.cx * 3 / 4;
    height = screen.cy * 3 / 4;
  }
  if (x == CW_USEDEFAULT) {
    x = screen.cx / 8;
    y = screen.cy / 8;
  }
}

void DestroyTree(HWND hwnd);

void DetachFromParent(Window& w) {
  auto& wm = Wm();
  if (w.IsChild()) {
    if (Window* parent = Find(w.parent)) std::erase(parent->children, w.handle);
  } else {
    std::erase(wm.topLevels, w.handle);
  }
}

void DestroyTree(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  w->destroying = true;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  if ((w = Find(hwnd)) == nullptr) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) DestroyTree(child);
  ForgetWindow(hwnd);
  RemoveTimersOf(hwnd);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  if ((w = Find(hwnd)) == nullptr) return;
  DetachFromParent(*w);
  Wm().windows.erase(hwnd);
}

}  // namespace

HWND GetDesktopWindow() {
  auto& wm = Wm();
  if (wm.desktop) return wm.desktop;
  auto w = std::make_unique<Window>();
  w->handle = NewHandle();
  w->windowClass = std::make_shared<WindowClass>();
  w->windowClass->name = "#32769";
  w->windowClass->info.lpszClassName = w->windowClass->name.c_str();
  w->windowClass->info.lpfnWndProc = DesktopProc;
  w->proc = DesktopProc;
  w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  SIZE screen = qm::ui::Display().ScreenSize();
  w->rect = {0, 0, screen.cx, screen.cy};
  wm.desktop = w->handle;
  wm.windows[w->handle] = std::move(w);
  return wm.desktop;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  auto windowClass = FindClass(className);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  GetDesktopWindow();
  auto& wm = Wm();
  if (IsDesktop(parent)) parent = nullptr;
  bool child = (style & WS_CHILD) != 0;
  if ((child && !Find(parent)) || (!child && parent && !Find(parent))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!child) ApplyDefaults(x, y, width, height);
  if (child && x == CW_USEDEFAULT) x = y = 0;
  if (child && width == CW_USEDEFAULT) width = height = 0;

  auto record = std::make_unique<Window>();
  Window& w = *record;
  w.handle = NewHandle();
  w.windowClass = windowClass;
  w.proc = windowClass->info.lpfnWndProc;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  if (child) {
    w.parent = parent;
    w.id = reinterpret_cast<UINT_PTR>(menuOrId);
  } else {
    w.owner = parent ? RootOf(parent) : nullptr;
    // Top-level windows always have a frame line at least when they have a caption.
    if ((w.style & WS_CAPTION) == WS_CAPTION || (exStyle & WS_EX_DLGMODALFRAME)) w.exStyle |= WS_EX_WINDOWEDGE;
  }
  w.instance = instance;
  w.text = (windowName && !IS_INTRESOURCE(windowName)) ? windowName : "";
  w.rect = {x, y, x + width, y + height};
  w.extra.assign(static_cast<std::size_t>(windowClass->info.cbWndExtra), 0);
  HWND hwnd = w.handle;
  wm.windows[hwnd] = std::move(record);
  if (child) {
    Find(parent)->children.push_back(hwnd);  // new children go to the bottom of the z-order
  } else {
    wm.topLevels.insert(wm.topLevels.begin(), hwnd);
    BringToTop(hwnd);
  }

  CREATESTRUCTA create{param, instance, menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
                       windowName, className, exStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    DestroyTree(hwnd);
    return nullptr;
  }
  if (!Find(hwnd)) return nullptr;
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  Window* created = Find(hwnd);
  if (!created) return nullptr;
  RECT client;
  GetClientRect(hwnd, &client);
  SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(WORD(client.right), WORD(client.bottom)));
  if (!Find(hwnd)) return nullptr;
  if (style & WS_MAXIMIZE) ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return Find(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || IsDesktop(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->destroying) return FALSE;
  // Owned windows go before their owner.
  if (!w->IsChild()) {
    std::vector<HWND> owned;
    for (HWND top : Wm().topLevels)
      if (Window* t = Find(top); t && t->owner == hwnd) owned.push_back(top);
    for (HWND o : owned) DestroyWindow(o);
    if (!(w = Find(hwnd)) || w->destroying) return TRUE;
  }
  // From here on the window is on its way out: handlers of the messages
  // below cannot destroy it a second time or get it activated again.
  w->destroying = true;
  if (w->style & WS_VISIBLE) {
    RECT screen;
    GetWindowRect(hwnd, &screen);
    w->style &= ~WS_VISIBLE;
    MarkScreenDirty(screen);
    if (w->IsChild()) {
      if (Window* parent = Find(w->parent)) {
        RECT inParent = w->rect;
        InvalidateWindow(*parent, &inParent, true, false);
      }
    }
  }
  if (Wm().active == hwnd) ActivateAnotherThan(hwnd);
  if (Wm().focus == hwnd || IsDescendant(hwnd, Wm().focus)) Wm().focus = nullptr;
  DestroyTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr; }

void qm::ui::DestroyAllWindows() {
  // A handler may create a window while another goes; stop once a round
  // destroys nothing new.
  for (;;) {
    std::vector<HWND> open = Wm().topLevels;
    bool destroyed = false;
    for (HWND hwnd : open)
      if (Find(hwnd) && DestroyWindow(hwnd)) destroyed = true;
    if (!destroyed || Wm().topLevels.empty()) return;
  }
}

void qm::ui::DestroyWindowsAtExit() {
  // Not the window manager's own destructor: by the time static objects are
  // destroyed, what the windows' handlers reach (the framework's objects,
  // fonts and other drawing objects, the program's globals) may be gone
  // already, in an order nobody controls. An exit handler runs before the
  // destructor of every static object that was complete when it was
  // registered; registering it anew on each call puts it before all those
  // made until then. The first of them to run leaves nothing for the others.
  std::atexit([] { DestroyAllWindows(); });
}
