#include "WindowTestSupport.h"

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

void WindowTest::SetUp() {
  ScreenTest::SetUp();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TestWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TestWindow";
  WNDCLASSEXA existing;
  if (!GetClassInfoExA(nullptr, "TestWindow", &existing)) {
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }
  log_.clear();
}

HWND WindowTest::Create(DWORD style, RECT rect, HWND parent, Handler handler, int id, DWORD exStyle,
                        const char* text) {
  pendingHandler = &handler;
  HWND hwnd = CreateWindowExA(exStyle, "TestWindow", text, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                              nullptr, nullptr);
  pendingHandler = nullptr;
  return hwnd;
}

void WindowTest::Click(POINT screen) {
  qm::ui::InputEvent event;
  event.point = screen;
  event.kind = qm::ui::InputKind::MouseDown;
  qm::ui::InjectInput(event);
  event.kind = qm::ui::InputKind::MouseUp;
  qm::ui::InjectInput(event);
  Pump();
}

void WindowTest::ClickClient(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  Click(client);
}

void WindowTest::Key(UINT virtualKey, bool alt, bool shift) {
  qm::ui::InputEvent event;
  event.kind = qm::ui::InputKind::KeyDown;
  event.virtualKey = virtualKey;
  event.alt = alt;
  event.shift = shift;
  qm::ui::InjectInput(event);
  event.kind = qm::ui::InputKind::KeyUp;
  qm::ui::InjectInput(event);
  Pump();
}

std::vector<LoggedMessage> WindowTest::Messages(HWND hwnd, UINT message) const {
  std::vector<LoggedMessage> result;
  for (const auto& m : log_)
    if ((!hwnd || m.hwnd == hwnd) && m.message == message) result.push_back(m);
  return result;
}

}  // namespace qm::test
