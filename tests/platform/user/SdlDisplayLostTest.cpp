// The sdl backend when its X server goes away (the server ends, the session
// closes): the program ends at once, with a message, instead of hanging in
// its clean-up where nobody can see it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/ui/DisplayBackend.h"

namespace qm::test {
namespace {

// Starts an X server of its own on a free display number and waits until
// it takes connections; its process id, or -1. *display receives ":N".
pid_t StartXServer(std::string* display) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  pid_t server = fork();
  if (server == 0) {
    close(ready[0]);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    const std::string fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  std::string number;
  char c;
  while (server > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  if (server < 0) return -1;
  if (number.empty()) {
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    return -1;
  }
  *display = ":" + number;
  return server;
}

TEST(SdlDisplayLost, TheProgramEndsAtOnceWhenItsXServerGoesAway) {
  if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "Xvfb is not installed";
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        // A program hanging on its way out is ended by the alarm: killed,
        // which is not the exit asked for.
        alarm(20);
        std::string display;
        const pid_t server = StartXServer(&display);
        if (server < 0) {
          std::fputs("the X server did not start\n", stderr);
          std::exit(3);
        }
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        std::unique_ptr<qm::ui::DisplayBackend> sdl = qm::ui::CreateSdlDisplay();
        if (!sdl) {
          kill(server, SIGKILL);
          std::exit(4);
        }
        // The window system's, as in a program: destroyed when it exits.
        qm::ui::UseDisplay(std::move(sdl));
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
        for (;;) qm::ui::Display().WaitForInput(50);
      },
      testing::ExitedWithCode(1), "sdl display lost \\(the connection to the X server is broken\\)");
}

}  // namespace
}  // namespace qm::test
