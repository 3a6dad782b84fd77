// The main window as start-up leaves it: created, maximized, its picture
// rendered and the installation wizard open on it.
#pragma once

#include <memory>

#include "install/engine/MainWindow.h"

namespace qm::test {

inline std::unique_ptr<MainWindow> StartMainWindow() {
  auto window = std::make_unique<MainWindow>();
  window->Create();
  window->ShowWindow(SW_SHOWMAXIMIZED);
  window->RenderBackground();
  window->UpdateWindow();
  window->OpenWizard();
  return window;
}

}  // namespace qm::test
