#include <filesystem>
#include <fstream>
#include <string>

#include "install/engine/MainWindow.h"
#include "install/startup/Installer.h"
#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "support/SheetObjects.h"
#include "support/TempDir.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/InstallerUiTest.h"
#include "support/installer/RunningCopy.h"

namespace {

namespace fs = std::filesystem;
using qm::ui::automation::Driver;
using qm::ui::automation::Id;
using qm::ui::automation::StepResult;
using qm::ui::automation::Text;

constexpr char PleaseWait[] = "Please wait...";

// A visible top-level window holding the waiting dialog's text.
HWND FindWaitingDialog() {
  for (HWND top : qm::test::TopLevelWindows()) {
    if (!IsWindowVisible(top)) continue;
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (qm::test::CaptionOf(child) == PleaseWait) return top;
  }
  return nullptr;
}

// Start-up in this process, over a medium folder on the host. The installer
// is named uniquely, so that no other process counts as a second instance
// unless a test starts one.
class InstallerStartTest : public qm::test::InstallerUiTest {
 protected:
  void SetUp() override {
    InstallerUiTest::SetUp();
    qm::test::MakeFile(Medium("db/items.dat"), 3 * 1024);
    qm::test::MakeFile(Medium("bin/start.exe"), 2 * 1024);
    qm::test::MakeFile(Medium("doc/readme.txt"), 1024 + 512);
    qm::test::MakeFile(Medium("uninstall/uninstall.exe"), 7 * 1024);
    NameInstaller(qm::test::UniqueName());
  }

  void TearDown() override {
    driver.reset();
    // Nothing in the program deletes the main window or the wizard; the
    // test ends them before its process does.
    if (installer.mainWindow) qm::test::DestroyWithSheets(installer.mainWindow->Handle());
    delete installer.mainWindow;
    installer.mainWindow = nullptr;
    qm::test::ForgetStart();
    InstallerUiTest::TearDown();
  }

  void NameInstaller(const std::string& name) {
    qm::test::StartedAs(qm::test::WindowsPath(medium.Path()) + "\\" + name);
  }

  void WriteConfiguration(const std::string& text) { std::ofstream(Medium("install.cfg")) << text; }

  fs::path Medium(const std::string& relative) const { return fs::path(medium.Path()) / relative; }

  HWND MainWindowHandle() const { return installer.mainWindow ? installer.mainWindow->Handle() : nullptr; }

  // Records at each idle point whether the waiting dialog was on screen.
  void WatchForTheWaitingDialog() {
    driver->Add({"watch for the waiting dialog", [this](bool) {
                   waitingSeen |= FindWaitingDialog() != nullptr;
                   return StepResult::NotYet;
                 }});
  }

  qm::test::TempDir medium{"qm-start-medium"};
  Installer installer;
  std::unique_ptr<Driver> driver = std::make_unique<Driver>();
  bool waitingSeen = false;
};

TEST_F(InstallerStartTest, SecondInstanceIsToldSoAndNothingIsCreated) {
  qm::test::TempDir elsewhere("qm-first-installer");
  const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
  qm::test::RunningCopy first(elsewhere.Path(), self);
  ASSERT_TRUE(first.Started());
  NameInstaller(self);
  HWND owner = reinterpret_cast<HWND>(1);
  std::size_t windowsWhileAsking = 0;
  driver->Wait("Install")
      .Expect(Id(0xFFFF), "Installer already running")
      .Do("look at the box and what else is open",
          [&] {
            owner = GetWindow(GetActiveWindow(), GW_OWNER);
            windowsWhileAsking = qm::test::TopLevelWindows().size();
          })
      .Click(Text("OK"));

  EXPECT_FALSE(installer.InitInstance());
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(windowsWhileAsking, 1u) << "only the message box";
  EXPECT_EQ(installer.mainWindow, nullptr);
  EXPECT_TRUE(qm::test::TopLevelWindows().empty());
  EXPECT_EQ(installer.ExitInstance(), 0);
}

TEST_F(InstallerStartTest, ConfigurationSetsTheSizeAndNoWaitingDialogIsShown) {
  WriteConfiguration("3 db\n4 bin\n");
  WatchForTheWaitingDialog();
  ASSERT_TRUE(installer.InitInstance());
  Pump();
  EXPECT_FALSE(waitingSeen);
  EXPECT_EQ(FindWaitingDialog(), nullptr);
  EXPECT_EQ(Settings().requiredSizeKb, 7u);
}

TEST_F(InstallerStartTest, WithoutConfigurationTheWaitingDialogIsUpWhileTheTreesAreMeasured) {
  bool shownBeforeMainWindow = false;
  bool stayedAfterEnterAndEsc = false;
  // The one drain of the queue before the measurement is the only moment
  // the dialog gets to be seen.
  driver->Do("look at the screen before the measurement", [&] {
    HWND waiting = FindWaitingDialog();
    shownBeforeMainWindow = waiting && !MainWindowHandle();
    if (!waiting) return;
    SendMessageA(waiting, WM_COMMAND, IDOK, 0);
    SendMessageA(waiting, WM_COMMAND, IDCANCEL, 0);
    stayedAfterEnterAndEsc = FindWaitingDialog() == waiting;
  });

  ASSERT_TRUE(installer.InitInstance());
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_TRUE(shownBeforeMainWindow);
  EXPECT_TRUE(stayedAfterEnterAndEsc);
  EXPECT_EQ(FindWaitingDialog(), nullptr);
  // db, bin and doc: 3 + 2 + 1.5 KB; uninstall is not measured.
  EXPECT_EQ(Settings().requiredSizeKb, 6u);
}

TEST_F(InstallerStartTest, MainWindowIsMaximizedAndDrawnWithTheWizardOnTop) {
  WriteConfiguration("1 db\n");
  ASSERT_TRUE(installer.InitInstance());
  HWND main = MainWindowHandle();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(IsZoomed(main));
  EXPECT_EQ(qm::test::CaptionOf(main), "Install");

  HWND wizard = nullptr;
  for (HWND top : qm::test::TopLevelWindows())
    if (top != main && IsWindowVisible(top) && GetWindow(top, GW_OWNER) == main) wizard = top;
  EXPECT_NE(wizard, nullptr) << "the wizard is open, owned by the main window";

  Pump();
  POINT corner{0, 0};
  ClientToScreen(main, &corner);
  EXPECT_EQ(qm::ui::ScreenSurface().At(corner.x, corner.y), 0xFF0000C0u) << "the gradient's first row";
}

}  // namespace
