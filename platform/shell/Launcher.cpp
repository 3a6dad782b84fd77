#include "platform/shell/Launcher.h"

#include <mutex>

#include "platform/kernel/host/Spawn.h"

namespace qm::shell {

namespace {

std::mutex launcherMutex;
Launcher current;

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

bool LaunchOnHost(const HostCommand& command) { return qm::kernel::host::SpawnDetached(command.argv); }

}  // namespace qm::shell
