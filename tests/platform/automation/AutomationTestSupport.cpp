#include "AutomationTestSupport.h"

namespace qm::test {

std::vector<int> AutomationTest::commands_;
std::function<void(HWND, int)> AutomationTest::onCommand_;

namespace {

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    AutomationTest::commands_.push_back(LOWORD(wParam));
    if (AutomationTest::onCommand_) AutomationTest::onCommand_(hwnd, LOWORD(wParam));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      ReleaseCapture();
      if ((GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, GetWindowLongPtrA(hwnd, GWLP_USERDATA) ? 0 : 1);
      PostMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(WORD(GetWindowLongPtrA(hwnd, GWLP_ID)), BN_CLICKED),
                   reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case BM_GETCHECK:
      return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void Register(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wc.lpszClassName = name;
  WNDCLASSEXA existing;
  if (!GetClassInfoExA(nullptr, name, &existing)) RegisterClassExA(&wc);
}

}  // namespace

void AutomationTest::SetUp() {
  ScreenTest::SetUp();
  Register("TestFrame", FrameProc);
  Register("TestButton", ButtonProc);
  commands_.clear();
  onCommand_ = nullptr;
}

void AutomationTest::TearDown() {
  ScreenTest::TearDown();
  onCommand_ = nullptr;
}

HWND AutomationTest::Frame(const char* caption, RECT rect, HWND owner) {
  return CreateWindowExA(0, "TestFrame", caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
}

HWND AutomationTest::Button(HWND parent, int id, const char* text, RECT rect, DWORD style) {
  return CreateWindowExA(0, "TestButton", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
}

int AutomationTest::RunLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace qm::test
