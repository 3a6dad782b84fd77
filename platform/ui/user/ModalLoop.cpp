#include "platform/ui/user/ModalLoop.h"

namespace qm::ui::user {

bool RunModalLoop(HWND owner, HWND window, const ModalKeepRunning& keepRunning, const ModalFilter& filter) {
  const bool ownerDisabled = owner && IsWindow(owner) && IsWindowEnabled(owner);
  if (ownerDisabled) EnableWindow(owner, FALSE);
  if (window && IsWindow(window) && !IsWindowVisible(window)) {
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
  }

  bool quit = false;
  MSG msg{};
  while ((!window || IsWindow(window)) && (!keepRunning || keepRunning())) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      quit = true;
      break;
    }
    const ModalFilterResult result = filter ? filter(msg) : ModalFilterResult::Dispatch;
    if (result == ModalFilterResult::EndLoop) break;
    if (result == ModalFilterResult::Handled) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  if (ownerDisabled) EnableWindow(owner, TRUE);
  if (owner && window && IsWindow(window) && GetActiveWindow() == window) SetActiveWindow(owner);
  return !quit;
}

}  // namespace qm::ui::user
