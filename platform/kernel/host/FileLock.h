// Host boundary: a lock between processes. May hold advisory file locks.
#pragma once

#include <string>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// An exclusive lock on a lock file, shared by every process that locks the
// same file, held until the object ends.
class FileLock {
 public:
  // Opens lockPath (created when missing) and waits until the lock is this
  // one's; false with errno set.
  bool Acquire(const std::string& lockPath);
  bool IsHeld() const { return file.IsOpen(); }

 private:
  Descriptor file;
};

}  // namespace qm::kernel::host
