// The main window's caption as the user meets it: its icon and boxes, the
// host window taking its title and icon, and minimizing and restoring the
// full-screen window with the wizard on it.
#include <memory>
#include <string>
#include <vector>

#include "StartedMainWindow.h"
#include "install/settings/InstallationSettings.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CommCtrl.h"
#include "support/installer/InstallerUiTest.h"
#include "support/RecordingDisplay.h"
#include "support/SheetObjects.h"
#include "support/installer/ShotFolder.h"

namespace {

using qm::ui::automation::Id;

// The screen point of a caption part of a top-level window, found by hit
// testing along the caption's middle.
std::optional<POINT> CaptionPart(HWND hwnd, LRESULT part) {
  RECT frame{};
  GetWindowRect(hwnd, &frame);
  const int y = std::max<int>(frame.top, 0) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = std::max<int>(frame.left, 0); x < frame.right; ++x)
    if (SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) return POINT{x + 4, y};
  return std::nullopt;
}

class MainWindowCaptionTest : public qm::test::InstallerUiTest {
 protected:
  void SetUp() override {
    InstallerUiTest::SetUp();
    auto display = std::make_unique<qm::test::RecordingDisplay>(SIZE{1024, 768});
    host = display.get();
    qm::ui::UseDisplay(std::move(display));
    InstallationSettings::Reset();
    window = qm::test::StartMainWindow();
    Pump();
  }
  void TearDown() override {
    // The program never deletes its main window or its sheets; the test ends
    // them before its process does.
    qm::test::DestroyWithSheets(window->Handle());
    for (HWND top : qm::test::TopLevelWindows()) DestroyWindow(top);
    window.reset();
    InstallationSettings::Reset();
    InstallerUiTest::TearDown();
  }
  qm::test::RecordingDisplay* host = nullptr;
  std::unique_ptr<MainWindow> window;
  qm::test::ShotFolder shots{"QUELLMOOR_WIZARD_SHOTS", "caption-shots"};
};

TEST_F(MainWindowCaptionTest, NamesTheHostWindowAndItsMinimizeBoxMinimizesItAndRestoringBringsBackTheWizard) {
  HWND hwnd = window->Handle();
  qm::ui::automation::SaveScreenshot(shots.Path("main-window.png"));
  for (LRESULT part : {HTSYSMENU, HTMAXBUTTON, HTCLOSE}) EXPECT_TRUE(CaptionPart(hwnd, part)) << part;
  ASSERT_FALSE(host->titles.empty());
  EXPECT_EQ(host->titles.back(), "Install");
  EXPECT_EQ(host->iconSizes.size(), 1u) << "the class icon, the system's information icon";
  RECT full{};
  GetWindowRect(hwnd, &full);
  HWND sheet = GetActiveWindow();
  ASSERT_NE(sheet, hwnd);
  std::optional<POINT> minimize = CaptionPart(hwnd, HTMINBUTTON);
  ASSERT_TRUE(minimize);

  qm::ui::automation::ClickAt(*minimize);
  Pump();
  EXPECT_EQ(host->minimized, 1);
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_FALSE(IsWindowVisible(sheet));

  qm::ui::InputEvent restored;
  restored.kind = qm::ui::InputKind::HostRestored;
  qm::ui::InjectInput(restored);
  Pump();
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_TRUE(IsZoomed(hwnd)) << "it comes back full screen";
  RECT back{};
  GetWindowRect(hwnd, &back);
  EXPECT_EQ((std::vector<LONG>{back.left, back.top, back.right, back.bottom}),
            (std::vector<LONG>{full.left, full.top, full.right, full.bottom}));
  EXPECT_TRUE(IsWindowVisible(sheet));
  EXPECT_EQ(GetActiveWindow(), hwnd) << "the window the user left: its box was clicked";

  // The wizard goes on where it was: a click on its Next turns the page.
  qm::ui::automation::ClickControl(Id(ID_WIZNEXT), sheet);
  Pump();
  EXPECT_EQ(GetActiveWindow(), sheet);
  EXPECT_TRUE(qm::ui::automation::IsControlVisible(Id(1014), sheet));
}

}  // namespace
