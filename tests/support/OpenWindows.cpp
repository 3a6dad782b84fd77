#include "support/OpenWindows.h"

#include <gtest/gtest.h>

namespace qm::test {

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM param) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string CaptionOf(HWND hwnd) {
  char caption[256] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  return caption;
}

void CloseWindowsLeftOpen() {
  for (HWND hwnd : TopLevelWindows()) {
    // Destroying an owner takes its owned windows with it.
    if (!IsWindow(hwnd)) continue;
    ADD_FAILURE() << "window \"" << CaptionOf(hwnd) << "\" left open by the test";
    DestroyWindow(hwnd);
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace qm::test
