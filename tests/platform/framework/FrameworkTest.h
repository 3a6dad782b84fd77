// The shared screen fixture for the framework's classes, and the wizard's
// dialog templates in code.
#pragma once

#include <utility>
#include <vector>

#include "support/DialogTemplates.h"
#include "support/ScreenTest.h"

namespace qm::test {

class FrameworkTest : public ScreenTest {
 protected:
  // What the test left queued is handled, as the program's loop would,
  // before the windows are checked.
  void TearDown() override {
    Pump();
    ScreenTest::TearDown();
  }
};

// A page template of the usual wizard page size.
inline DialogTemplate PageTemplate(const char* caption, std::vector<DialogItemTemplate> items) {
  return Dialog(WS_CHILD | WS_DISABLED | WS_CAPTION, 294, 159, caption, std::move(items));
}

// A pop-up dialog with caption and system menu, shown when created.
inline DialogTemplate DialogBoxTemplate(const char* caption, short cx, short cy,
                                        std::vector<DialogItemTemplate> items) {
  return Dialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, cx, cy, caption, std::move(items));
}

}  // namespace qm::test
