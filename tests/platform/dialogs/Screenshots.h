// Saving what the screen shows of a window, for the pictures the gallery
// tests take to judge the look by eye. The pictures go to QM_CONTROL_SHOTS
// (default /tmp/qm-control-shots).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "support/UiTest.h"

namespace qm::test {

inline std::string ShotPath(const std::string& name) {
  const char* folder = std::getenv("QM_CONTROL_SHOTS");
  std::string dir = folder ? folder : "/tmp/qm-control-shots";
  std::filesystem::create_directories(dir);
  return dir + "/" + name;
}

// The window's part of the screen, enlarged twice so single pixels show,
// and the whole screen beside it.
inline void SaveWindowShot(HWND window, const std::string& name) {
  RECT rect{};
  GetWindowRect(window, &rect);
  rect.left -= 4;
  rect.top -= 4;
  rect.right += 4;
  rect.bottom += 4;
  const ui::Surface& screen = ui::ScreenSurface();
  ui::Surface shot((rect.right - rect.left) * 2, (rect.bottom - rect.top) * 2);
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      int sx = rect.left + x / 2, sy = rect.top + y / 2;
      shot.At(x, y) = screen.Contains(sx, sy) ? screen.At(sx, sy) : 0xFF000000u;
    }
  ASSERT_TRUE(ui::SavePng(screen, ShotPath(name + "-screen.png")));
  ASSERT_TRUE(ui::SavePng(shot, ShotPath(name + ".png")));
}

// The same, once what the window has pending is painted.
inline void SavePaintedShot(HWND window, const std::string& name) {
  UiTest::Capture(window);
  SaveWindowShot(window, name);
}

}  // namespace qm::test
