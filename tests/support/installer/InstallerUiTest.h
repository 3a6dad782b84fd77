// The fixture of tests of the installer's windows: the shared screen
// fixture with the installer's resources registered, as the installer's
// main does before the window system starts; and a click on a window's
// close box.
#pragma once

#include "install/resources/InstallerResources.h"
#include "platform/ui/Automation.h"
#include "support/HostFiles.h"
#include "support/OpenWindows.h"
#include "support/ScreenTest.h"

namespace qm::test {

class InstallerUiTest : public ScreenTest {
 protected:
  explicit InstallerUiTest(SIZE screen = {1024, 768}) : ScreenTest(screen) {}

  void SetUp() override {
    RegisterInstallerResources();
    ScreenTest::SetUp();
  }

  void TearDown() override {
    Pump();
    ScreenTest::TearDown();
  }

  // True when a WM_QUIT is waiting in the queue (it is taken out).
  static bool QuitPosted() { return PumpUntilQuit().has_value(); }
};

// Clicks the close box in the caption of a top-level window, found by hit
// testing along the caption; false when the window shows none.
inline bool ClickCloseBox(HWND hwnd) {
  RECT frame{};
  GetWindowRect(hwnd, &frame);
  const int captionY = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = frame.right - 1; x > frame.right - 120; --x) {
    if (SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, captionY)) != HTCLOSE) continue;
    qm::ui::automation::ClickAt(POINT{x, captionY});
    return true;
  }
  return false;
}

}  // namespace qm::test
