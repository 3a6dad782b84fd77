// The fixture of every window-system test: a fresh headless screen of its
// own size, the window system started as a program starts it, and at the
// end a check that fails the test when it left a top-level window open (the
// window is closed, so the next test starts on an empty screen). Tests
// advance the program with the idle pump (support/IdlePump.h).
#pragma once

#include <gtest/gtest.h>

#include "platform/ui/WinUser.h"
#include "support/IdlePump.h"

namespace qm::test {

class ScreenTest : public ::testing::Test {
 protected:
  explicit ScreenTest(SIZE screen = {1024, 768}) : screen_(screen) {}

  void SetUp() override;
  void TearDown() override;

 private:
  SIZE screen_;
};

}  // namespace qm::test
