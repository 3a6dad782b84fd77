#include "support/OpenWindows.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/WinUser.h"

namespace qm::test {

void CloseWindowsLeftOpen() {
  std::vector<HWND> open;
  EnumWindows(
      [](HWND hwnd, LPARAM param) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&open));
  for (HWND hwnd : open) {
    // Destroying an owner takes its owned windows with it.
    if (!IsWindow(hwnd)) continue;
    char caption[128] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    ADD_FAILURE() << "window \"" << caption << "\" left open by the test";
    DestroyWindow(hwnd);
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace qm::test
