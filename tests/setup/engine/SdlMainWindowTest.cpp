// The installer in a real SDL window at twice the size: a host click on
// Next lands on Next, the host window carries the main window's caption,
// and F11 belongs to the host window.
#include <SDL.h>

#include "StartedMainWindow.h"
#include "install/settings/InstallationSettings.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/DisplayBackend.h"
#include "support/installer/InstallerUiTest.h"
#include "support/XvfbRun.h"

namespace {

using qm::test::XDisplay;
using qm::ui::automation::AutomationError;
using qm::ui::automation::Id;

// The installation-type page's "Full" button is showing.
bool OnTheTypePage() {
  try {
    return qm::ui::automation::IsControlVisible(Id(1014));
  } catch (const AutomationError&) {
    return false;  // the page is not made yet
  }
}

void PushClick(SDL_Window* host, POINT at) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = SDL_GetWindowID(host);
  event.motion.x = at.x;
  event.motion.y = at.y;
  SDL_PushEvent(&event);
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    event = SDL_Event{};
    event.type = type;
    event.button.windowID = SDL_GetWindowID(host);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = at.x;
    event.button.y = at.y;
    SDL_PushEvent(&event);
  }
}

class SdlMainWindowTest : public qm::test::InstallerUiTest {
 protected:
  void SetUp() override {}  // the test decides where it runs first
  void TearDown() override {
    window.reset();
    InstallationSettings::Reset();
    if (opened) InstallerUiTest::TearDown();
  }

  std::unique_ptr<MainWindow> window;
  bool opened = false;
};

TEST_F(SdlMainWindowTest, HostClickAtTwiceTheCoordinatesOfNextTurnsThePage) {
  XDisplay where = qm::test::FindXDisplay("QUELLMOOR_SCALE=2", "2400x1800x24");
  if (where == XDisplay::Unavailable) GTEST_SKIP() << "xvfb-run is not installed";
  if (where == XDisplay::RanElsewhere) return;
  InstallerUiTest::SetUp();
  opened = true;
  auto display = qm::ui::CreateSdlDisplay();
  ASSERT_TRUE(display);
  qm::ui::UseDisplay(std::move(display));
  SDL_Window* host = qm::test::SdlHostWindow();
  ASSERT_NE(host, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(host), "Quellmoor") << "before the program has a main window";

  // As start-up does it.
  InstallationSettings::Reset();
  window = qm::test::StartMainWindow();
  Pump();
  EXPECT_STREQ(SDL_GetWindowTitle(host), "Install");

  // The program still sees its 1024 x 768 screen; the host window is twice that.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  int width = 0, height = 0;
  SDL_GetWindowSize(host, &width, &height);
  ASSERT_EQ(width, 2048);
  ASSERT_EQ(height, 1536);

  ASSERT_FALSE(OnTheTypePage());
  RECT next{};
  GetWindowRect(qm::ui::automation::FindControl(Id(ID_WIZNEXT)), &next);
  PushClick(host, {next.left + next.right, next.top + next.bottom});  // twice the centre
  // The pushed events are in SDL's queue already; the bound only keeps a
  // lost click from holding the test.
  for (int round = 0; round < 50 && !OnTheTypePage(); ++round) {
    Pump();
    if (!OnTheTypePage()) qm::ui::Display().WaitForInput(20);
  }
  EXPECT_TRUE(OnTheTypePage()) << qm::ui::automation::DescribeOpenWindows();

  // F11 switches the host window to full screen and back; the program never sees it.
  for (bool fullscreen : {true, false}) {
    SCOPED_TRACE(fullscreen ? "first F11" : "second F11");
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      SDL_Event key{};
      key.type = type;
      key.key.keysym.sym = SDLK_F11;
      SDL_PushEvent(&key);
    }
    Pump();
    EXPECT_EQ((SDL_GetWindowFlags(host) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP, fullscreen);
    EXPECT_TRUE(OnTheTypePage()) << "F11 is no key of the wizard's";
  }
  for (HWND top : qm::test::TopLevelWindows())
    if (top != window->Handle()) DestroyWindow(top);
}

}  // namespace
