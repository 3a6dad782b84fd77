// The fixture of the tests of one control class: a parent window to put the
// controls in, made before each test.
#pragma once

#include "support/UiTest.h"
#include "support/WindowRects.h"

namespace qm::test {

class ControlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    parent = CreateParent();
  }

  HWND parent = nullptr;
};

}  // namespace qm::test
