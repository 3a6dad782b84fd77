// The completion sheet over a main window on the installer's screen
// fixture, driven through the automation driver. Every program or document
// the installer opens is recorded instead of opened.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell/LinkFormat.h"
#include "platform/shell/ShellLink.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CommCtrl.h"
#include "support/WindowsFiles.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/InstallerUiTest.h"
#include "support/installer/RegistryRecords.h"

namespace qm::test {

namespace automation = qm::ui::automation;

class CompletionTest : public InstallerUiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A DirectX runtime package at a Windows path of its own; empty manifest:
  // no package there at all.
  static std::string MakeDirectXPackage(const std::string& name, const std::string& manifest);
  // The copied game at the settings' destination: what the links point to.
  static void MakeInstalledGame();

  // Opens the completion sheet over a main window and runs the program's
  // loop with the driver's steps until the quit message; its exit code.
  int RunCompletion(automation::Driver& driver);
  // Next past the links and the DirectX page, to the installation complete page.
  static automation::Driver& ToCompletePage(automation::Driver& driver) {
    return driver.Wait("Install").Click(automation::Id(ID_WIZNEXT)).Click(automation::Id(ID_WIZNEXT));
  }
  // Next, Next, Finish, then the given steps (an answer to a question after
  // Finish); the program must end with 0.
  void FinishWithDefaults(const std::function<void(automation::Driver&)>& after = {}) {
    automation::Driver driver;
    ToCompletePage(driver).Click(automation::Id(ID_WIZFINISH));
    if (after) after(driver);
    EXPECT_EQ(RunCompletion(driver), 0);
  }

  static std::optional<qm::shell::ShellLinkData> ReadLink(const std::string& windowsPath) {
    return qm::shell::ReadShellLink(windowsPath);
  }

  // Requests the launcher was given, in order.
  std::vector<std::string> launched;
};

// Visible top-level windows holding a control with this text.
int CountWindowsWith(const std::string& controlText);

constexpr char kProgramsFolder[] = "C:\\Windows\\Start Menu\\Programs";
constexpr char kDesktopFolder[] = "C:\\Windows\\Desktop";
constexpr char kGroupFolder[] = "C:\\Windows\\Start Menu\\Programs\\Quellmoor";

}  // namespace qm::test
