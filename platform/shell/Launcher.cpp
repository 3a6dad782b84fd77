#include "platform/shell/Launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "platform/kernel/host/Retry.h"

namespace qm::shell {

namespace {

std::mutex launcherMutex;
Launcher current;

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void RunDetached(char* const* argv, int reportFd) {
  if (::setsid() < 0) _exit(127);
  pid_t grandchild = ::fork();
  if (grandchild != 0) _exit(grandchild < 0 ? 127 : 0);
  int devNull = ::open("/dev/null", O_RDWR);
  if (devNull >= 0) {
    ::dup2(devNull, 0);
    ::dup2(devNull, 1);
    ::dup2(devNull, 2);
    if (devNull > 2) ::close(devNull);
  }
  ::execvp(argv[0], argv);
  int error = errno;
  ssize_t ignored = ::write(reportFd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

}  // namespace

Launcher SetLauncher(Launcher launcher) {
  std::lock_guard<std::mutex> guard(launcherMutex);
  Launcher previous = std::move(current);
  current = std::move(launcher);
  return previous;
}

bool Launch(const HostCommand& command) {
  Launcher launcher;
  {
    std::lock_guard<std::mutex> guard(launcherMutex);
    launcher = current;
  }
  return launcher ? launcher(command) : LaunchOnHost(command);
}

bool LaunchOnHost(const HostCommand& command) {
  if (command.argv.empty()) return false;
  std::vector<char*> argv;
  for (const std::string& arg : command.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The pipe closes on a successful exec; a failed one writes its errno.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    ::close(report[0]);
    RunDetached(argv.data(), report[1]);
  }
  ::close(report[1]);
  int status = 0;
  qm::kernel::host::RetryOnSignal([&] { return ::waitpid(child, &status, 0); });
  int execError = 0;
  ssize_t n = qm::kernel::host::RetryOnSignal([&] { return ::read(report[0], &execError, sizeof execError); });
  ::close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

}  // namespace qm::shell
