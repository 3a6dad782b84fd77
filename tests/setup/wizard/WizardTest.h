// The installation wizard under its owner, on the installer's screen
// fixture. The owner stands in for the main window and records the private
// messages the sheet posts to it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install/wizard/Sheet.h"
#include "platform/framework/Application.h"
#include "platform/framework/Window.h"
#include "platform/ui/Automation.h"
#include "support/installer/InstallerUiTest.h"

namespace qm::test {

class OwnerWindow : public qm::fw::Window {
 public:
  OwnerWindow();

  struct Received {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool sheetVisible = false;  // the sheet's state when the message arrived
  };
  std::vector<Received> received;
  const Sheet* sheet = nullptr;

  int Count(UINT message) const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class WizardTest : public InstallerUiTest {
 protected:
  // The quit code a test posts to end a run that leaves the wizard open;
  // Exit Setup quits with 0.
  static constexpr int kTestEnded = 77;

  void SetUp() override;
  void TearDown() override;

  // Free space of drive C and the size the game needs, both in KB.
  static void SetFreeKb(char drive, std::uint64_t kb);
  static void SetRequiredKb(std::uint32_t kb);

  // Creates the owner and the sheet and shows the sheet, as the main window
  // does; the settings as they stand are what the pages see.
  void OpenWizard();
  // The program's loop until WM_QUIT; its code.
  int Run();
  // Ends the steps queued so far with one that quits with kTestEnded, runs
  // the loop, and expects that end.
  void RunToTheEnd();

  // The sheet's window and its buttons.
  HWND SheetWindow() const { return sheet->Handle(); }
  int ActivePage() const { return sheet->GetActiveIndex(); }
  // Top-level windows that are showing the resume/exit question.
  static int OpenResumeExitDialogs();

  qm::fw::Application application;
  std::unique_ptr<OwnerWindow> owner;
  std::unique_ptr<Sheet> sheet;
  qm::ui::automation::Driver driver;
};

}  // namespace qm::test
