#include "support/IdlePump.h"

#include "platform/ui/Automation.h"

namespace qm::test {

void Pump(HWND dialog) { qm::ui::automation::RunUntilIdle(dialog); }

std::optional<WPARAM> PumpUntilQuit() {
  Pump();
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return msg.wParam;
  return std::nullopt;
}

}  // namespace qm::test
