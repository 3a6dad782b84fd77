#include "WizardTest.h"

#include "install/settings/InstallationSettings.h"
#include "install/wizard/PrivateMessages.h"
#include "platform/kernel/FileApi.h"
#include "support/OpenWindows.h"

namespace qm::test {

OwnerWindow::OwnerWindow() {
  const std::string windowClass = qm::fw::RegisterWindowClass(0, nullptr, nullptr, nullptr);
  CreateEx(0, windowClass.c_str(), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr, nullptr);
}

int OwnerWindow::Count(UINT message) const {
  int count = 0;
  for (const Received& item : received) count += item.message == message;
  return count;
}

LRESULT OwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHEET_CANCEL || message == WM_START_INSTALLATION) {
    received.push_back({message, wParam, lParam, sheet && sheet->IsWindowVisible()});
    return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

void WizardTest::SetUp() {
  InstallerUiTest::SetUp();
  InstallationSettings::Reset();
  SetRequiredKb(4096);
  SetFreeKb('C', 1024 * 1024);
}

void WizardTest::TearDown() {
  sheet.reset();
  owner.reset();
  InstallerUiTest::TearDown();
}

void WizardTest::SetFreeKb(char drive, std::uint64_t kb) { qm::kernel::SetDiskFreeSpaceOverride(drive, kb * 1024); }

void WizardTest::SetRequiredKb(std::uint32_t kb) { Settings().requiredSizeKb = kb; }

void WizardTest::OpenWizard() {
  owner = std::make_unique<OwnerWindow>();
  ASSERT_NE(owner->Handle(), nullptr);
  application.mainWindow = owner.get();
  sheet = std::make_unique<Sheet>("Install", owner.get(), 0);
  owner->sheet = sheet.get();
  ASSERT_TRUE(sheet->Create(owner.get()));
  sheet->ShowWindow(SW_SHOW);
}

int WizardTest::Run() { return application.Run(); }

void WizardTest::RunToTheEnd() {
  driver.Do("end the run", [] { PostQuitMessage(kTestEnded); });
  EXPECT_EQ(Run(), kTestEnded);
}

int WizardTest::OpenResumeExitDialogs() {
  int count = 0;
  for (HWND hwnd : TopLevelWindows()) {
    HWND exitButton = GetDlgItem(hwnd, IDCANCEL);
    if (IsWindowVisible(hwnd) && exitButton && CaptionOf(exitButton) == "E&xit Setup") ++count;
  }
  return count;
}

}  // namespace qm::test
