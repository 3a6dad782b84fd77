#include <filesystem>
#include <memory>
#include <string>

#include "install/engine/MainWindow.h"
#include "install/wizard/PrivateMessages.h"
#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "support/SheetObjects.h"
#include "support/TempDir.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/InstallerUiTest.h"

namespace {

namespace fs = std::filesystem;
using qm::ui::automation::Driver;
using qm::ui::automation::Id;
using qm::ui::automation::Text;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "RGB(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb ScreenAt(int x, int y) {
  const std::uint32_t p = qm::ui::ScreenSurface().At(x, y);
  return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
}

// A main window as start-up makes it, on a screen whose maximized client
// area is 1024 x 768, over a medium and a destination on the host.
class MainWindowTest : public qm::test::InstallerUiTest {
 protected:
  MainWindowTest() : InstallerUiTest({1024, 768 + GetSystemMetrics(SM_CYCAPTION)}) {}

  void SetUp() override {
    InstallerUiTest::SetUp();
    qm::test::StartedAs(qm::test::WindowsPath(medium.Path()) + "\\setup");
    Settings().destinationPath = qm::test::WindowsPath(destination.Path()) + "\\Quellmoor";
    Settings().requiredSizeKb = 1;
    window = std::make_unique<MainWindow>();
    window->Create();
    window->ShowWindow(SW_SHOWMAXIMIZED);
    window->RenderBackground();
    window->UpdateWindow();
    window->InvalidateRect(nullptr, true);
    Pump();
  }

  void TearDown() override {
    driver.reset();
    // The program never deletes its main window or its sheets; the test ends
    // them before its process does.
    if (window) qm::test::DestroyWithSheets(window->Handle());
    window.reset();
    qm::test::ForgetStart();
    InstallerUiTest::TearDown();
  }

  POINT ClientToScreenPoint(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window->Handle(), &point);
    return point;
  }

  // Every way a user has to ask a window to close, and the sheets' cancel notice.
  void TryToClose() {
    HWND hwnd = window->Handle();
    const POINT inside = ClientToScreenPoint(600, 400);
    qm::ui::automation::ClickAt(inside);
    qm::ui::automation::PressKey("Alt+F4");
    EXPECT_TRUE(qm::test::ClickCloseBox(hwnd)) << "no close box found";
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    PostMessageA(hwnd, WM_SHEET_CANCEL, 0, 0);
  }

  fs::path Source(const std::string& relative) const { return fs::path(medium.Path()) / relative; }
  fs::path Installed(const std::string& relative) const {
    return fs::path(destination.Path()) / "Quellmoor" / relative;
  }

  qm::test::TempDir medium{"qm-medium"};
  qm::test::TempDir destination{"qm-destination"};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Driver> driver;
};

TEST_F(MainWindowTest, CoversTheScreenWithTheGradient) {
  RECT client{};
  window->GetClientRect(&client);
  ASSERT_EQ(client.bottom, 768);
  EXPECT_TRUE(IsZoomed(window->Handle()));
  EXPECT_EQ(window->GetWindowText(), "Install");
  struct Row {
    int y;
    Rgb colour;
  };
  for (const Row& row : {Row{0, {0, 0, 192}}, Row{384, {0, 0, 96}}, Row{767, {0, 0, 1}}}) {
    SCOPED_TRACE(row.y);
    for (int x : {0, 700, 1023}) {
      const POINT at = ClientToScreenPoint(x, row.y);
      EXPECT_EQ(ScreenAt(at.x, at.y), row.colour) << "x " << x;
    }
  }
}

TEST_F(MainWindowTest, TitleIsWhiteAtTwentyWithABlackShadowFivePixelsOff) {
  // The ink boxes of the white title and of its visible black shadow.
  RECT white{10000, 10000, -1, -1};
  RECT black{10000, 10000, -1, -1};
  auto grow = [](RECT& box, int x, int y) {
    box.left = std::min<LONG>(box.left, x);
    box.top = std::min<LONG>(box.top, y);
    box.right = std::max<LONG>(box.right, x);
    box.bottom = std::max<LONG>(box.bottom, y);
  };
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 1024; ++x) {
      const POINT at = ClientToScreenPoint(x, y);
      const Rgb c = ScreenAt(at.x, at.y);
      if (c.r == 255 && c.g == 255 && c.b == 255) grow(white, x, y);
      if (c.r == 0 && c.g == 0 && c.b < 8) grow(black, x, y);
    }
  ASSERT_GE(white.right, 0) << "no white title";
  ASSERT_GE(black.right, 0) << "no shadow";
  EXPECT_GE(white.left, 20);
  EXPECT_LE(white.left, 30);
  EXPECT_GE(white.top, 20);
  EXPECT_LE(white.top, 40);
  EXPECT_GT(white.right - white.left, 200) << "the whole title, not a letter";
  EXPECT_NEAR(black.right - white.right, 5, 1);
  EXPECT_NEAR(black.bottom - white.bottom, 5, 1);
}

TEST_F(MainWindowTest, CloseRequestsDoNothingBeforeDuringAndAfterTheCopy) {
  qm::test::MakeFile(Source("db/items.dat"), 10);
  qm::test::MakeFile(Source("db/creatures.dat"), 10);
  TryToClose();
  Pump();
  ASSERT_TRUE(IsWindow(window->Handle()));

  driver = std::make_unique<Driver>();
  driver->Do("try to close the main window during the copy", [this] { TryToClose(); });
  window->PostMessage(WM_START_INSTALLATION);
  Pump();
  EXPECT_EQ(driver->StepsLeft(), 0u);
  ASSERT_TRUE(IsWindow(window->Handle()));
  EXPECT_TRUE(fs::exists(Installed("db/creatures.dat")));

  // The complete copy opened the completion sheet, which has a Cancel path of
  // its own; the main window is what is tried here.
  for (HWND top : qm::test::TopLevelWindows())
    if (top != window->Handle()) qm::test::DestroyWithSheets(top);
  TryToClose();
  EXPECT_FALSE(QuitPosted());
  EXPECT_TRUE(IsWindow(window->Handle()));
}

TEST_F(MainWindowTest, CompleteCopyTakesTheFourTreesForEveryInstallationTypeAndKeepsRunning) {
  for (const char* file : {"db/maps/moor.map", "bin/start.exe", "doc/readme.txt", "uninstall/uninstall.exe",
                           "directx/ddraw.dll"})
    qm::test::MakeFile(Source(file), 20);
  for (const char* type : {"compact", "medium", "full"}) {
    SCOPED_TRACE(type);
    Settings().installationType = type;
    Settings().destinationPath = qm::test::WindowsPath(destination.Path()) + "\\" + type;
    window->PostMessage(WM_START_INSTALLATION);
    EXPECT_FALSE(QuitPosted());
    const fs::path installed = fs::path(destination.Path()) / type;
    EXPECT_EQ(qm::test::FilesBelow(installed),
              (std::set<std::string>{"bin/start.exe", "db/maps/moor.map", "doc/readme.txt", "uninstall/uninstall.exe"}));
    // The copy dialog is gone; the completion sheet has opened on its links page.
    std::vector<HWND> others;
    for (HWND top : qm::test::TopLevelWindows())
      if (top != window->Handle()) others.push_back(top);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(others[0]));
    EXPECT_NE(qm::ui::automation::FindControl(qm::ui::automation::Id(1016), others[0]), nullptr);
    qm::test::DestroyWithSheets(others[0]);
  }
}

TEST_F(MainWindowTest, CancelledCopyEndsTheProgramAndKeepsWhatWasCopied) {
  for (const char* file : {"db/1.dat", "db/2.dat", "bin/start.exe"}) qm::test::MakeFile(Source(file), 10);
  driver = std::make_unique<Driver>();
  driver->Click(Id(IDCANCEL)).Wait("Install").Expect(Id(0xFFFF), "Are you sure you want to cancel?").Click(Text("&Yes"));
  window->PostMessage(WM_START_INSTALLATION);

  const std::optional<WPARAM> quit = PumpUntilQuit();
  ASSERT_TRUE(quit);
  EXPECT_EQ(*quit, 0u);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(qm::test::FilesBelow(Installed("")).size(), 1u);
  EXPECT_FALSE(fs::exists(Installed("bin")));
  EXPECT_EQ(qm::test::TopLevelWindows(), std::vector<HWND>{window->Handle()}) << "the copy dialog is gone";
}

}  // namespace
