// A small window and button pair for driving through the automation
// driver: buttons post WM_COMMAND to their parent when clicked, check boxes
// (BS_AUTOCHECKBOX) toggle, and the frame records the commands it receives;
// on the shared screen fixture.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DisplayBackend.h"
#include "support/ScreenTest.h"

namespace qm::test {

class AutomationTest : public ScreenTest {
 protected:
  AutomationTest() : ScreenTest({640, 480}) {}
  void SetUp() override;
  void TearDown() override;

  HWND Frame(const char* caption, RECT rect, HWND owner = nullptr);
  HWND Button(HWND parent, int id, const char* text, RECT rect, DWORD style = BS_PUSHBUTTON);
  // Runs the program's loop until WM_QUIT; returns its code.
  int RunLoop();

 public:
  static std::vector<int> commands_;
  // Called for each WM_COMMAND a frame receives.
  static std::function<void(HWND, int)> onCommand_;
};

}  // namespace qm::test
