// Tests of the sdl backend need an X display. Without one, such a test runs
// itself again under xvfb-run, in a process of its own, and that run's result
// becomes the test's. Header only.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qm::test {

// Where a test of the sdl backend runs.
enum class XDisplay {
  Here,          // there is a display: the test goes on
  RanElsewhere,  // it ran under xvfb-run; that run's result is recorded
  Unavailable,   // no display and no xvfb-run: the caller skips
};

// Without a display, runs the current test under xvfb-run with
// `environment` (assignments such as "QUELLMOOR_SCALE=2") on a screen of
// `screen` ("WIDTHxHEIGHTxDEPTH").
inline XDisplay FindXDisplay(const std::string& environment = "", const std::string& screen = "1280x1024x24") {
  if (std::getenv("DISPLAY")) return XDisplay::Here;
  if (std::getenv("QM_SDL_UNDER_XVFB")) {
    ADD_FAILURE() << "no display even under xvfb-run";
    return XDisplay::RanElsewhere;
  }
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) return XDisplay::Unavailable;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  // The outer bound keeps a server that never starts from holding the run.
  std::string command = "QM_SDL_UNDER_XVFB=1 " + environment + " timeout 120 xvfb-run -a -s '-screen 0 " + screen +
                        "' /proc/" + std::to_string(getpid()) + "/exe --gtest_filter=" + test->test_suite_name() +
                        "." + test->name() + " 2>&1";
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
    int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the test failed under xvfb-run:\n" << output;
  } else {
    ADD_FAILURE() << "could not start xvfb-run";
  }
  return XDisplay::RanElsewhere;
}

// The sdl backend's window, looked up through SDL.
inline SDL_Window* SdlHostWindow() {
  for (Uint32 id = 1; id < 64; ++id)
    if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
  return nullptr;
}

}  // namespace qm::test
