#include "support/ScreenTest.h"

#include "platform/framework/Window.h"
#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Startup.h"
#include "platform/ui/user/IdleHook.h"
#include "support/OpenWindows.h"

namespace qm::test {

void ScreenTest::Pump(HWND dialog) { qm::ui::automation::RunUntilIdle(dialog); }

std::optional<WPARAM> ScreenTest::PumpUntilQuit() {
  Pump();
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return msg.wParam;
  return std::nullopt;
}

void ScreenTest::Mouse(ui::InputKind kind, POINT screen, ui::MouseButton button) {
  ui::InputEvent event;
  event.kind = kind;
  event.point = screen;
  event.button = button;
  ui::InjectInput(event);
}

void ScreenTest::SetUp() {
  qm::ui::UseDisplay(qm::ui::CreateHeadlessDisplay(screen_.cx, screen_.cy));
  qm::ui::StartWindowSystem();
}

void ScreenTest::TearDown() {
  // Steps a test left queued must not run while its windows are closed.
  qm::ui::user::SetIdleHook({});
  CloseWindowsLeftOpen();
  qm::fw::Window::DeleteTemporaryWrappers();
}

}  // namespace qm::test
