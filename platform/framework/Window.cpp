#include "platform/framework/Window.h"

#include <cstdio>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/framework/Application.h"
#include "platform/ui/Resources.h"

namespace qm::fw {

LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

std::unordered_map<HWND, Window*>& PermanentMap() {
  static std::unordered_map<HWND, Window*> map;
  return map;
}

std::unordered_map<HWND, std::unique_ptr<Window>>& TemporaryMap() {
  static std::unordered_map<HWND, std::unique_ptr<Window>> map;
  return map;
}

// The object whose CreateEx is running: it takes the first message of the
// new window, before CreateWindowExA has returned the handle.
struct PendingCreation {
  Window* window = nullptr;
  WNDPROC baseProc = nullptr;
};
PendingCreation& Pending() {
  static PendingCreation pending;
  return pending;
}

// Whether windows of the class start with the framework's procedure, so that
// the object sees their very first messages.
bool IsFrameworkClass(LPCSTR className) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  return GetClassInfoExA(nullptr, className, &info) && info.lpfnWndProc == &FrameworkWindowProc;
}

}  // namespace

void BindCreatedWindow(Window* window, HWND hwnd) {
  window->Bind(hwnd, Pending().baseProc);
  Pending() = PendingCreation{};
}

LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Window::FromHandlePermanent(hwnd);
  if (!window && Pending().window) {
    window = Pending().window;
    BindCreatedWindow(window, hwnd);
  }
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);

  if (message == WM_NCDESTROY) {
    window->current = Window::Message{message, wParam, lParam};
    const LRESULT result = window->WindowProc(message, wParam, lParam);
    window->Unbind();
    window->PostNcDestroy();  // may delete the object
    return result;
  }
  const Window::Message saved = window->current;
  window->current = Window::Message{message, wParam, lParam};
  const LRESULT result = window->WindowProc(message, wParam, lParam);
  window->current = saved;
  return result;
}

Window::~Window() {
  if (!hwnd || FromHandlePermanent(hwnd) != this) return;
  HWND window = hwnd;
  // The object is half gone: the window must not reach it any more.
  UnsubclassWindow();
  if (IsWindow(window)) ::DestroyWindow(window);
}

Window* Window::FromHandlePermanent(HWND window) {
  auto found = PermanentMap().find(window);
  return found == PermanentMap().end() ? nullptr : found->second;
}

Window* Window::FromHandle(HWND window) {
  if (!window) return nullptr;
  if (Window* permanent = FromHandlePermanent(window)) return permanent;
  auto& temporary = TemporaryMap()[window];
  if (!temporary) {
    temporary = std::make_unique<Window>();
    temporary->hwnd = window;
  }
  return temporary.get();
}

void Window::DeleteTemporaryWrappers() { TemporaryMap().clear(); }

void Window::Bind(HWND window, WNDPROC original) {
  hwnd = window;
  originalProc = original;
  PermanentMap()[window] = this;
  TemporaryMap().erase(window);
}

void Window::Unbind() {
  PermanentMap().erase(hwnd);
  hwnd = nullptr;
  originalProc = nullptr;
}

bool Window::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                      int height, HWND parent, HMENU menuOrId, LPVOID param) {
  if (hwnd) return false;
  if (!IsFrameworkClass(className)) {
    // A class of its own procedure (a standard control): the object takes
    // over from the first message after creation.
    HWND created =
        CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId, nullptr, param);
    return created && SubclassWindow(created);
  }
  const PendingCreation outer = Pending();
  Pending() = PendingCreation{this, &DefWindowProcA};
  HWND created =
      CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId, nullptr, param);
  Pending() = outer;
  return created != nullptr && hwnd == created;
}

bool Window::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, Window* parent, UINT id,
                    LPVOID param) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->Handle() : nullptr,
                  reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), param);
}

bool Window::SubclassWindow(HWND window) {
  if (hwnd || !window || !IsWindow(window) || FromHandlePermanent(window)) return false;
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  Bind(window, original);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc));
  return true;
}

bool Window::SubclassDlgItem(UINT id, Window* parent) {
  if (!parent || !parent->Handle()) return false;
  return SubclassWindow(::GetDlgItem(parent->Handle(), static_cast<int>(id)));
}

HWND Window::UnsubclassWindow() {
  if (!hwnd) return nullptr;
  HWND window = hwnd;
  if (originalProc && IsWindow(window) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &FrameworkWindowProc)
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc));
  Unbind();
  return window;
}

bool Window::DestroyWindow() { return hwnd && ::DestroyWindow(hwnd) != FALSE; }

bool Window::PreTranslateMessage(MSG*) { return false; }

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam) != 0);
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_COMMAND:
      if (messageMap.Command(wParam, lParam) || OnCommand(wParam, lParam)) return 0;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (messageMap.Notify(lParam, &result) || OnNotify(wParam, lParam, &result)) return result;
      break;
    }
    default:
      break;
  }
  return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return 0;
  if (!originalProc) return DefWindowProcA(hwnd, message, wParam, lParam);
  return CallWindowProcA(originalProc, hwnd, message, wParam, lParam);
}

LRESULT Window::Default() { return DefWindowProc(current.message, current.wParam, current.lParam); }

int Window::OnCreate(CREATESTRUCTA*) { return static_cast<int>(Default()); }
void Window::OnDestroy() { Default(); }
void Window::OnPaint() { Default(); }
bool Window::OnEraseBkgnd(HDC) { return Default() != 0; }
void Window::OnClose() { Default(); }
void Window::OnActivate(UINT, HWND, bool) { Default(); }
void Window::OnTimer(UINT_PTR) { Default(); }
bool Window::OnCommand(WPARAM, LPARAM) { return false; }
bool Window::OnNotify(WPARAM, LPARAM, LRESULT*) { return false; }
void Window::PostNcDestroy() {}

bool Window::ShowWindow(int command) { return ::ShowWindow(hwnd, command) != FALSE; }
bool Window::UpdateWindow() { return ::UpdateWindow(hwnd) != FALSE; }
void Window::Invalidate(bool erase) { ::InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE); }
void Window::InvalidateRect(const RECT* rect, bool erase) { ::InvalidateRect(hwnd, rect, erase ? TRUE : FALSE); }
bool Window::IsWindowVisible() const { return ::IsWindowVisible(hwnd) != FALSE; }
bool Window::EnableWindow(bool enable) { return ::EnableWindow(hwnd, enable ? TRUE : FALSE) != FALSE; }
bool Window::IsWindowEnabled() const { return ::IsWindowEnabled(hwnd) != FALSE; }
void Window::SetWindowText(const std::string& text) { ::SetWindowTextA(hwnd, text.c_str()); }

std::string Window::GetWindowText() const {
  const int length = ::GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = ::GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

int Window::GetWindowText(LPSTR buffer, int size) const { return ::GetWindowTextA(hwnd, buffer, size); }
Window* Window::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(hwnd, id)); }
int Window::GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd); }
void Window::SetDlgItemText(int id, const std::string& text) { ::SetDlgItemTextA(hwnd, id, text.c_str()); }

std::string Window::GetDlgItemText(int id) const {
  HWND item = ::GetDlgItem(hwnd, id);
  if (!item) return {};
  return FromHandle(item)->GetWindowText();
}

void Window::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(hwnd, id, check); }
UINT Window::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(hwnd, id); }
Window* Window::GetParent() const { return FromHandle(::GetParent(hwnd)); }
void Window::GetClientRect(RECT* rect) const { ::GetClientRect(hwnd, rect); }
void Window::GetWindowRect(RECT* rect) const { ::GetWindowRect(hwnd, rect); }

bool Window::MoveWindow(int x, int y, int width, int height, bool repaint) {
  return ::MoveWindow(hwnd, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool Window::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags) != FALSE;
}

DWORD Window::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)); }
DWORD Window::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE)); }

bool Window::ModifyStyle(DWORD remove, DWORD add) {
  const DWORD style = GetStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return false;
  ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(changed));
  return true;
}

Window* Window::SetFocus() { return FromHandle(::SetFocus(hwnd)); }
bool Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(hwnd, message, wParam, lParam) != FALSE;
}
LRESULT Window::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(hwnd, message, wParam, lParam);
}

int Window::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  std::string appName;
  if (!caption) {
    appName = ApplicationName();
    caption = appName.c_str();
  }
  return ::MessageBoxA(hwnd, text, caption, type);
}

UINT_PTR Window::SetTimer(UINT_PTR id, UINT elapseMs) { return ::SetTimer(hwnd, id, elapseMs, nullptr); }
bool Window::KillTimer(UINT_PTR id) { return ::KillTimer(hwnd, id) != FALSE; }

std::string RegisterWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
  char name[96];
  std::snprintf(name, sizeof name, "Framework:%x:%p:%p:%p", style, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  if (GetClassInfoExA(nullptr, name, &info)) return name;
  info.style = style;
  info.lpfnWndProc = &FrameworkWindowProc;
  info.hCursor = cursor;
  info.hbrBackground = background;
  info.hIcon = icon;
  info.lpszClassName = name;
  RegisterClassExA(&info);
  return name;
}

}  // namespace qm::fw
