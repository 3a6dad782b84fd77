#include <SDL.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "SdlEvents.h"
#include "WindowTestSupport.h"
#include "platform/ui/backend/SdlInput.h"

namespace qm::test {
namespace {

const qm::ui::sdl::ScreenPlacement kUnscaled = qm::ui::sdl::PlaceScreen({1024, 768}, {1024, 768});

TEST(SdlInputTest, HostEventsBecomeInputEvents) {
  struct Row {
    SDL_Keycode key;
    Uint16 mod;
    UINT virtualKey;
    bool alt;
    bool shift;
  } rows[] = {
      {SDLK_RETURN, 0, VK_RETURN, false, false}, {SDLK_ESCAPE, 0, VK_ESCAPE, false, false},
      {SDLK_TAB, KMOD_LSHIFT, VK_TAB, false, true}, {SDLK_n, KMOD_LALT, 'N', true, false},
      {SDLK_F4, KMOD_RALT, VK_F4, true, false},     {SDLK_7, 0, '7', false, false},
      {SDLK_DOWN, 0, VK_DOWN, false, false},        {SDLK_SPACE, 0, VK_SPACE, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.virtualKey);
    qm::ui::InputEvent input;
    ASSERT_TRUE(qm::ui::sdl::TranslateEvent(SdlKey(row.key, row.mod), kUnscaled, input));
    EXPECT_EQ(input.kind, qm::ui::InputKind::KeyDown);
    EXPECT_EQ(input.virtualKey, row.virtualKey);
    EXPECT_EQ(input.alt, row.alt);
    EXPECT_EQ(input.shift, row.shift);
  }
  qm::ui::InputEvent input;
  EXPECT_FALSE(qm::ui::sdl::TranslateEvent(SdlKey(SDLK_SCROLLLOCK), kUnscaled, input))
      << "keys without a virtual key are not input";

  ASSERT_TRUE(qm::ui::sdl::TranslateEvent(SdlButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 12, 34), kUnscaled, input));
  EXPECT_EQ(input.kind, qm::ui::InputKind::MouseUp);
  EXPECT_EQ(input.button, qm::ui::MouseButton::Right);
  EXPECT_EQ(XY(input.point), XY({12, 34}));
}

class SdlDisplayTest : public WindowTest {
 protected:
  void SetUp() override {}  // the test picks its own display
};

// Runs itself again under xvfb-run when there is no display.
TEST_F(SdlDisplayTest, HostInputReachesWindowsAndPostsWakeAWaitingLoop) {
  if (!std::getenv("DISPLAY")) {
    if (std::getenv("QM_SDL_UNDER_XVFB")) GTEST_SKIP() << "no display even under xvfb-run";
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    std::string command = "QM_SDL_UNDER_XVFB=1 xvfb-run -a /proc/" + std::to_string(getpid()) +
                          "/exe --gtest_filter=SdlDisplayTest.* >/dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the test failed under xvfb-run";
    return;
  }
  WindowTest::SetUp();
  auto display = qm::ui::CreateSdlDisplay();
  ASSERT_TRUE(display);
  EXPECT_STREQ(display->Name(), "sdl");
  qm::ui::UseDisplay(std::move(display));
  HWND hwnd = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  Pump();
  SetFocus(hwnd);

  SDL_Event click = SdlButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 20, 30);
  SDL_PushEvent(&click);
  SDL_Event key = SdlKey(SDLK_RETURN);
  SDL_PushEvent(&key);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "x");
  SDL_PushEvent(&text);
  Pump();
  auto downs = Messages(hwnd, WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(LOWORD(downs[0].lParam), 20);
  EXPECT_EQ(Messages(hwnd, WM_KEYDOWN).size(), 1u);
  auto chars = Messages(hwnd, WM_CHAR);
  ASSERT_EQ(chars.size(), 2u) << "Enter's carriage return and the typed text";
  EXPECT_EQ(chars[1].wParam, WPARAM('x'));

  std::thread poster([] { PostMessageA(nullptr, WM_APP, 0, 0); });
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  poster.join();
  EXPECT_EQ(msg.message, WM_APP);
}

}  // namespace
}  // namespace qm::test
