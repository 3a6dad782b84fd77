// The shared screen fixture for the framework's classes, and builders for
// dialog templates in code.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinUser.h"
#include "support/ScreenTest.h"

namespace qm::test {

class FrameworkTest : public ScreenTest {
 protected:
  void TearDown() override;

  // Presses and releases a key through the window system's input path.
  static void Key(UINT virtualKey, bool shift = false, bool alt = false);
};

DialogItemTemplate Control(const char* className, const char* text, int id, short x, short y, short cx, short cy,
                           DWORD style);
// A page template of the usual wizard page size in "MS Sans Serif" 8.
DialogTemplate PageTemplate(const char* caption, std::initializer_list<DialogItemTemplate> items);
// A pop-up dialog with caption and system menu, shown when created.
DialogTemplate DialogBoxTemplate(const char* caption, short cx, short cy,
                                 std::initializer_list<DialogItemTemplate> items);

}  // namespace qm::test
