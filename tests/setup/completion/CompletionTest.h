// The completion sheet over a main window on the installer's screen
// fixture, driven through the automation driver. Every program or document
// the installer opens is recorded instead of opened.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/shell/LinkFormat.h"
#include "platform/ui/Automation.h"
#include "support/installer/InstallerUiTest.h"

namespace qm::test {

namespace automation = qm::ui::automation;

class CompletionTest : public InstallerUiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Records the installed DirectX before the settings probe for it; null
  // records none, so the probe fails.
  static void RecordDirectXVersion(const char* version);
  // Builds the settings afresh, as at the installer's start from exePath.
  static void StartInstallerAs(const std::string& exePath);
  // A DirectX runtime package at a Windows path of its own; empty manifest:
  // no package there at all.
  static std::string MakeDirectXPackage(const std::string& name, const std::string& manifest);
  // The copied game at the settings' destination: what the links point to.
  static void MakeInstalledGame();

  // Opens the completion sheet over a main window and runs the program's
  // loop with the driver's steps until the quit message; its exit code.
  int RunCompletion(automation::Driver& driver);

  static std::string QueryRecordValue(const char* name);
  static std::optional<qm::shell::ShellLinkData> ReadLink(const std::string& windowsPath);
  static bool Exists(const std::string& windowsPath);

  // Requests the launcher was given, in order.
  std::vector<std::string> launched;
};

// Visible top-level windows holding a control with this text.
int CountWindowsWith(const std::string& controlText);

constexpr char kProgramsFolder[] = "C:\\Windows\\Start Menu\\Programs";
constexpr char kDesktopFolder[] = "C:\\Windows\\Desktop";
constexpr char kGroupFolder[] = "C:\\Windows\\Start Menu\\Programs\\Quellmoor";

}  // namespace qm::test
