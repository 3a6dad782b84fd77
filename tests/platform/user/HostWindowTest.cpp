// The host window follows the program's main window (caption, icon,
// minimizing), and minimizing a window takes the windows it owns with it.
#include <memory>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/ui/gdi/Icons.h"
#include "support/RecordingDisplay.h"

namespace qm::test {
namespace {

constexpr DWORD kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class HostWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    auto display = std::make_unique<RecordingDisplay>();
    host = display.get();
    qm::ui::UseDisplay(std::move(display));
  }
  void Compose() { qm::ui::ScreenSurface(); }
  void Inject(qm::ui::InputKind kind, POINT at = {}) {
    Mouse(kind, at);
    Pump();
  }

  RecordingDisplay* host = nullptr;
};

TEST_F(HostWindowTest, TitleAndIconFollowTheOldestUnownedCaptionedWindow) {
  Create(WS_POPUP | WS_VISIBLE, {0, 0, 640, 480}, nullptr, {}, 0, 0, "No caption");
  Compose();
  EXPECT_TRUE(host->titles.empty()) << "a window without a caption has no place on a taskbar";
  HICON icon = qm::ui::gdi::InsertIcon(qm::ui::Surface(32, 32, 0xFF00FF00u), true);
  ASSERT_NE(RegisterTestClass("HostIconWindow", 0, DefWindowProcA, icon), 0);
  HWND main = CreateOf("HostIconWindow", kFrame | WS_VISIBLE, {10, 10, 300, 200}, nullptr, "Install");
  HWND owned = Create(kFrame | WS_VISIBLE, {40, 40, 200, 150}, main, {}, 0, 0, "Owned");
  Create(kFrame | WS_VISIBLE, {60, 60, 200, 150}, nullptr, {}, 0, 0, "Later");
  Compose();
  EXPECT_EQ(host->titles, std::vector<std::string>{"Install"});
  ASSERT_EQ(host->iconSizes.size(), 1u) << "the class icon, once";
  EXPECT_EQ(host->iconSizes[0].cx, 32);
  SetWindowTextA(main, "Install \xC3\xBC");  // UTF-8, the platform's code page
  Pump();
  EXPECT_EQ(host->titles.back(), "Install \xC3\xBC");
  std::size_t told = host->titles.size();
  Compose();
  EXPECT_EQ(host->titles.size(), told) << "told only of changes";
  DestroyWindow(main);  // takes the owned window with it
  Pump();
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_EQ(host->titles.back(), "Later");
  UnregisterClassA("HostIconWindow", nullptr);
}

TEST_F(HostWindowTest, MinimizingTheMainWindowMinimizesTheHostAndTakesOwnedWindowsAlong) {
  HWND main = Create(kFrame | WS_VISIBLE, {10, 10, 300, 200}, nullptr, {}, 0, 0, "Install");
  HWND sheet = Create(kFrame | WS_VISIBLE, {40, 40, 240, 180}, main, {}, 0, 0, "Sheet");
  HWND hidden = Create(kFrame, {50, 50, 240, 180}, main, {}, 0, 0, "Hidden before");
  SetActiveWindow(sheet);
  Pump();
  const RECT mainRect = WindowRect(main);

  SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(main));
  EXPECT_EQ(host->minimized, 1);
  EXPECT_TRUE(IsWindowVisible(main)) << "a minimized window stays visible, off the screen";
  EXPECT_LT(WindowRect(main).right, 0);
  EXPECT_FALSE(IsWindowVisible(sheet));
  EXPECT_NE(GetActiveWindow(), sheet);
  EXPECT_EQ(WindowFromPoint({100, 100}), GetDesktopWindow());

  Inject(qm::ui::InputKind::HostRestored);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(Sides(WindowRect(main)), Sides(mainRect));
  EXPECT_TRUE(IsWindowVisible(sheet));
  EXPECT_FALSE(IsWindowVisible(hidden)) << "only the windows hidden by minimizing come back";
  EXPECT_EQ(GetActiveWindow(), sheet) << "the user comes back to the window they left";
  ASSERT_FALSE(Messages(main, WM_SYSCOMMAND).empty());
  EXPECT_EQ(Messages(main, WM_SYSCOMMAND).back().wParam, SC_RESTORE) << "the program sees the restore";

  // Restoring a host window that was not minimized by the program changes nothing.
  ClearLog();
  Inject(qm::ui::InputKind::HostRestored);
  EXPECT_TRUE(Messages(main, WM_SYSCOMMAND).empty());

  // A window that is not the main one minimizes without the host.
  ShowWindow(sheet, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(sheet));
  EXPECT_EQ(host->minimized, 1);
  ShowWindow(sheet, SW_RESTORE);
  EXPECT_FALSE(IsIconic(sheet));
}

// Some window managers ignore a request to minimize: the screen then shows
// only the desktop, and a click on it must bring the main window back.
TEST_F(HostWindowTest, ClickOnTheBareDesktopRestoresAMinimizedMainWindow) {
  HWND main = Create(kFrame | WS_VISIBLE, {10, 10, 300, 200}, nullptr, {}, 0, 0, "Install");
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(main));
  Inject(qm::ui::InputKind::MouseDown, {100, 100});
  Inject(qm::ui::InputKind::MouseUp, {100, 100});
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(GetActiveWindow(), main);
}

}  // namespace
}  // namespace qm::test
