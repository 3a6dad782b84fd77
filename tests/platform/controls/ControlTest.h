// The fixture of the tests of one control class: a parent window to put the
// controls in, made before each test.
#pragma once

#include <initializer_list>

#include "support/UiTest.h"
#include "support/WindowRects.h"

namespace qm::test {

class ControlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    parent = CreateParent();
  }

  static void Keys(std::initializer_list<UINT> keys) {
    for (UINT key : keys) Key(key);
  }
  // How many notifications of `code` the control `id` sent.
  static int CountOf(int id, WORD code) {
    int count = 0;
    for (const Notification& n : NotificationsFrom(id)) count += n.code == code;
    return count;
  }

  HWND parent = nullptr;
};

}  // namespace qm::test
