// Host-specific: flock on an open lock file.
#include "platform/kernel/host/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

bool FileLock::Acquire(const std::string& lockPath) {
  Descriptor opened(RetryOnSignal([&] { return ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644); }));
  if (!opened) return false;
  if (RetryOnSignal([&] { return ::flock(opened.Get(), LOCK_EX); }) != 0) return false;
  file = std::move(opened);
  return true;
}

}  // namespace qm::kernel::host
