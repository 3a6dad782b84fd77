// Host-specific: getpriority, setpriority per thread, /proc/<pid>/task.
#include "platform/kernel/host/Priority.h"

#include <sys/resource.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/kernel/host/Entries.h"

namespace qm::kernel::host {

bool GetProcessNice(int pid, int* nice) {
  // -1 is a nice value too; only errno tells a failure.
  errno = 0;
  int value = ::getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
  if (value == -1 && errno != 0) return false;
  *nice = value;
  return true;
}

bool SetProcessNice(int pid, int nice) {
  // The main thread first: when the host refuses, nothing has changed.
  if (::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice) != 0) return false;
  std::vector<std::string> threads;
  if (!ListFolder("/proc/" + std::to_string(pid) + "/task", &threads)) return true;
  for (const std::string& thread : threads) {
    int tid = std::stoi(thread);
    // A thread that ended meanwhile needs nothing.
    if (tid != pid) ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
  }
  return true;
}

}  // namespace qm::kernel::host
