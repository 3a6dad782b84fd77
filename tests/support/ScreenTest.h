// The fixture of every window-system test: a fresh headless screen of its
// own size, the window system started as a program starts it, the idle pump
// that advances the program, and at the end a check that fails the test when
// it left a top-level window open (the window is closed, so the next test
// starts on an empty screen).
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

class ScreenTest : public ::testing::Test {
 public:
  // The idle pump, on the automation driver's RunUntilIdle: dispatches until
  // the queue is empty, as a message loop does before it would wait (timers
  // not yet due stay). A WM_QUIT stops it and is put back for the loop
  // outside. With a dialog, each message goes through that dialog's
  // keyboard handling first (IsDialogMessageA).
  static void Pump(HWND dialog = nullptr);
  // The same, but a WM_QUIT is taken out: its exit code, or nothing when no
  // quit message came.
  static std::optional<WPARAM> PumpUntilQuit();
  // One mouse event at a point on the screen, as the user's hand gives it.
  static void Mouse(ui::InputKind kind, POINT screen, ui::MouseButton button = ui::MouseButton::Left);

 protected:
  explicit ScreenTest(SIZE screen = {1024, 768}) : screen_(screen) {}

  void SetUp() override;
  void TearDown() override;

 private:
  SIZE screen_;
};

}  // namespace qm::test
