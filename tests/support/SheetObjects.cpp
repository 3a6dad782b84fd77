#include "support/SheetObjects.h"

namespace qm::test {

std::vector<std::unique_ptr<qm::fw::PropertySheet>> TakeSheets(HWND hwnd) {
  std::vector<HWND> windows{hwnd};
  EnumWindows(
      [](HWND top, LPARAM param) {
        auto* found = reinterpret_cast<std::vector<HWND>*>(param);
        if (GetWindow(top, GW_OWNER) == found->front()) found->push_back(top);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  std::vector<std::unique_ptr<qm::fw::PropertySheet>> sheets;
  for (HWND window : windows)
    if (auto* sheet = dynamic_cast<qm::fw::PropertySheet*>(qm::fw::Window::FromHandlePermanent(window)))
      sheets.emplace_back(sheet);
  return sheets;
}

void DestroyWithSheets(HWND hwnd) {
  if (!IsWindow(hwnd)) return;
  auto sheets = TakeSheets(hwnd);
  // The windows go first, the usual way, so each object is unbound from its
  // window by the time it is deleted.
  DestroyWindow(hwnd);
}

}  // namespace qm::test
