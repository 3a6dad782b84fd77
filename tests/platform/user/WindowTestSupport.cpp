#include "WindowTestSupport.h"

#include <algorithm>
#include <map>
#include <memory>

namespace qm::test {

std::vector<LoggedMessage> WindowTest::log_;

namespace {

std::map<HWND, Handler>& Handlers() {
  static std::map<HWND, Handler> handlers;
  return handlers;
}

Handler* pendingHandler = nullptr;

LRESULT TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE && pendingHandler) Handlers()[hwnd] = *pendingHandler;
  WindowTest::log_.push_back({hwnd, message, wParam, lParam});
  auto it = Handlers().find(hwnd);
  if (it != Handlers().end() && it->second) {
    Handler handler = it->second;  // a handler may destroy its own window
    if (auto result = handler(hwnd, message, wParam, lParam)) return *result;
  }
  if (message == WM_NCDESTROY) Handlers().erase(hwnd);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

Handler Answer(UINT message, LRESULT result) {
  return [=](HWND, UINT m, WPARAM, LPARAM) { return m == message ? std::optional<LRESULT>(result) : std::nullopt; };
}

Handler On(UINT message, std::function<void(WPARAM)> seen) {
  return [=](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (m == message) seen(w);
    return std::nullopt;
  };
}

void WindowTest::SetUp() {
  ScreenTest::SetUp();
  WNDCLASSEXA existing;
  if (!GetClassInfoExA(nullptr, "TestWindow", &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestWindowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "TestWindow";
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }
  log_.clear();
}

void WindowTest::TearDown() {
  // Window handles are never reused, so a handle destroyed by the test names no other window now.
  for (auto it = made_.rbegin(); it != made_.rend(); ++it)
    if (IsWindow(*it)) DestroyWindow(*it);
  ScreenTest::TearDown();
}

HWND WindowTest::Create(DWORD style, RECT rect, HWND parent, Handler handler, int id, DWORD exStyle,
                        const char* text) {
  pendingHandler = &handler;
  HWND hwnd = CreateWindowExA(exStyle, "TestWindow", text, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                              nullptr, nullptr);
  pendingHandler = nullptr;
  if (hwnd) made_.push_back(hwnd);
  return hwnd;
}

HWND WindowTest::CreateOf(const char* className, DWORD style, RECT rect, HWND parent, const char* text) {
  HWND hwnd = CreateWindowExA(0, className, text, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
  if (hwnd) made_.push_back(hwnd);
  return hwnd;
}

ATOM WindowTest::RegisterTestClass(const char* name, UINT style, WNDPROC proc, HICON icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc);
}

void WindowTest::Click(POINT screen) {
  Mouse(qm::ui::InputKind::MouseDown, screen);
  Mouse(qm::ui::InputKind::MouseUp, screen);
  Pump();
}

void WindowTest::ClickClient(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  Click(client);
}

void WindowTest::Key(UINT virtualKey, bool alt, bool shift) {
  InjectKey(virtualKey, alt, shift);
  Pump();
}

void WindowTest::InjectKey(UINT virtualKey, bool alt, bool shift, bool release) {
  qm::ui::InputEvent event;
  event.kind = qm::ui::InputKind::KeyDown;
  event.virtualKey = virtualKey;
  event.alt = alt;
  event.shift = shift;
  qm::ui::InjectInput(event);
  event.kind = qm::ui::InputKind::KeyUp;
  if (release) qm::ui::InjectInput(event);
}

void WindowTest::Type(const std::string& text) {
  qm::ui::InputEvent event;
  event.kind = qm::ui::InputKind::Text;
  event.text = text;
  qm::ui::InjectInput(event);
  Pump();
}

std::vector<LoggedMessage> WindowTest::Messages(HWND hwnd, UINT message) const {
  std::vector<LoggedMessage> result;
  for (const auto& m : log_)
    if ((!hwnd || m.hwnd == hwnd) && m.message == message) result.push_back(m);
  return result;
}

std::vector<WPARAM> WindowTest::WParams(HWND hwnd, UINT message) const {
  std::vector<WPARAM> result;
  for (const LoggedMessage& m : Messages(hwnd, message)) result.push_back(m.wParam);
  return result;
}

}  // namespace qm::test
