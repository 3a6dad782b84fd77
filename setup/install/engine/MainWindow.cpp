#include "install/engine/MainWindow.h"

bool MainWindow::Create() {
  const std::string windowClass = qm::fw::RegisterWindowClass(CS_OWNDC, nullptr, nullptr, nullptr);
  return CreateEx(0, windowClass.c_str(), caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr);
}
