// Host-specific: posix_spawn, pidfd_open, waitid on a pid descriptor, one
// reaping thread over the pid descriptors.
#include "platform/kernel/host/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/kernel/host/Event.h"
#include "platform/kernel/host/Poll.h"
#include "platform/kernel/host/Priority.h"
#include "platform/kernel/host/Retry.h"
#include "platform/kernel/host/Spawn.h"

extern char** environ;

namespace qm::kernel::host {
namespace {

// Reaps every child as it ends. It waits only on the children's own pid
// descriptors, never for "any child", so the children others start and
// wait for (Spawn's) stay theirs. Started with the first child; it then
// idles in its wait for the rest of the program's life.
class Reaper {
 public:
  // False with errno set when the reaping thread cannot be started.
  bool Adopt(std::shared_ptr<Child> child) {
    std::lock_guard lock(mutex);
    if (!started) {
      if (!wake.Open()) return false;
      try {
        std::thread([this] { Run(); }).detach();
      } catch (const std::system_error& error) {
        errno = error.code().value() ? error.code().value() : EAGAIN;
        return false;
      }
      started = true;
    }
    children.push_back(std::move(child));
    wake.Set();
    return true;
  }

  void Release(const std::shared_ptr<Child>& child) {
    std::lock_guard lock(mutex);
    if (!child->HasEnded()) return;
    std::erase(children, child);
    // Its descriptor may be among those the thread waits on: it looks again.
    wake.Set();
  }

 private:
  void Run() {
    // Signals meant for the program go to its other threads.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    std::vector<int> fds;
    for (;;) {
      {
        std::lock_guard lock(mutex);
        wake.Reset();
        std::erase_if(children, [](const std::shared_ptr<Child>& child) { return child->HasEnded(); });
        fds.assign(1, wake.Fd().Get());
        // A child let go while the thread waits (Release) may take its
        // descriptor along; the wake-up that comes with it makes the
        // thread look again before it acts on anything.
        for (const auto& child : children) fds.push_back(child->EndedFd().Get());
      }
      std::size_t ready = 0;
      WaitForReadable(fds, -1, &ready);
    }
  }

  std::mutex mutex;
  bool started = false;
  Event wake;
  std::vector<std::shared_ptr<Child>> children;
};

// Never destroyed: its thread runs until the program ends.
Reaper& TheReaper() {
  static Reaper* reaper = new Reaper;
  return *reaper;
}

struct SpawnSettings {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
};

}  // namespace

bool Child::ReapLocked() {
  if (reaped) return true;
  siginfo_t info;
  std::memset(&info, 0, sizeof info);
  if (RetryOnSignal([&] { return ::waitid(P_PIDFD, static_cast<id_t>(pidFd.Get()), &info, WEXITED | WNOHANG); }) != 0) {
    // Nobody else waits for our children; should one have, the end is
    // known but not its code.
    if (errno != ECHILD) return false;
    reaped = true;
    exitCode = -1;
    return true;
  }
  if (info.si_pid == 0) return false;
  reaped = true;
  exitCode = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
  return true;
}

bool Child::HasEnded() {
  std::lock_guard lock(mutex);
  return ReapLocked();
}

int Child::ExitCode() {
  std::lock_guard lock(mutex);
  return exitCode;
}

bool Child::GetNice(int* nice) {
  // Held while the host is asked: the reaper cannot free the id meanwhile.
  std::lock_guard lock(mutex);
  if (ReapLocked()) {
    errno = ESRCH;
    return false;
  }
  return GetProcessNice(pid, nice);
}

bool Child::SetNice(int nice) {
  std::lock_guard lock(mutex);
  if (ReapLocked()) {
    errno = ESRCH;
    return false;
  }
  return SetProcessNice(pid, nice);
}

std::shared_ptr<Child> StartChild(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& folder) {
  std::vector<char*> argv = ArgumentVector(arguments);
  if (argv.empty()) return nullptr;

  SpawnSettings settings;
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&settings.actions, folder.c_str());
  posix_spawn_file_actions_addclosefrom_np(&settings.actions, 3);
  // The child starts with no signal blocked or ignored, whatever this
  // program's threads do with theirs.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  posix_spawnattr_setsigmask(&settings.attributes, &none);
  posix_spawnattr_setsigdefault(&settings.attributes, &all);
  posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  int error = posix_spawn(&pid, program.c_str(), &settings.actions, &settings.attributes, argv.data(), environ);
  if (error != 0) {
    errno = error;
    return nullptr;
  }
  // Until it is reaped the id is ours alone, so the descriptor names this
  // very child even when it has ended already.
  // Through the system call: this C library's header for it lacks C linkage.
  Descriptor pidFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
  if (!pidFd) {
    int openError = errno;
    ::kill(pid, SIGKILL);
    RetryOnSignal([&] { return ::waitpid(pid, nullptr, 0); });
    errno = openError;
    return nullptr;
  }
  auto child = std::make_shared<Child>(static_cast<int>(pid), std::move(pidFd));
  if (!TheReaper().Adopt(child)) {
    int adoptError = errno;
    ::kill(pid, SIGKILL);
    RetryOnSignal([&] { return ::waitpid(pid, nullptr, 0); });
    errno = adoptError;
    return nullptr;
  }
  return child;
}

void ReleaseChild(const std::shared_ptr<Child>& child) { TheReaper().Release(child); }

bool IsRunnableProgram(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || ::access(path.c_str(), X_OK) != 0) return false;
  Descriptor file(RetryOnSignal([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (!file) return false;
  char start[4] = {};
  ssize_t got = RetryOnSignal([&] { return ::read(file.Get(), start, sizeof start); });
  if (got >= 2 && start[0] == '#' && start[1] == '!') return true;
  return got == 4 && std::memcmp(start, "\x7f" "ELF", 4) == 0;
}

}  // namespace qm::kernel::host
