// Host-specific: fork, setsid, exec, a close-on-exec report pipe, waitpid.
#include "platform/kernel/host/Spawn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {
namespace {

// The child's side. Only async-signal-safe calls between fork and exec: the
// parent may have threads.
[[noreturn]] void RunDetached(char* const* argv, int reportFd) {
  if (::setsid() < 0) _exit(127);
  // The grandchild is the program; it is no session leader, so it can never
  // take a terminal, and nobody here waits for it.
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

std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  if (arguments.empty()) {
    errno = EINVAL;
    return argv;
  }
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

bool SpawnDetached(const std::vector<std::string>& arguments) {
  std::vector<char*> argv = ArgumentVector(arguments);
  if (argv.empty()) return false;

  // The pipe closes on a successful exec; a failed one writes its errno.
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  Descriptor report(ends[0]), reportWriter(ends[1]);
  pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) RunDetached(argv.data(), reportWriter.Get());
  reportWriter.Close();
  int status = 0;
  RetryOnSignal([&] { return ::waitpid(child, &status, 0); });
  int execError = 0;
  ssize_t reported = RetryOnSignal([&] { return ::read(report.Get(), &execError, sizeof execError); });
  if (reported > 0) {
    errno = execError;
    return false;
  }
  if (reported < 0) return false;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    // The session or the second fork failed before any exec.
    errno = EAGAIN;
    return false;
  }
  return true;
}

}  // namespace qm::kernel::host
