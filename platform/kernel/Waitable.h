// The kernel's side of waits: what an object must offer to be waited on,
// and how a wait learns that its thread was asked to end. Only the kernel's
// own units include this.
#pragma once

#include "platform/kernel/HandleTable.h"

namespace qm::kernel {

class Waitable : public KernelObject {
 public:
  // Readable when the object may have become signalled: the wait then asks
  // IsSignalled again.
  virtual int ReadinessFd() const = 0;
  // Whether the object is signalled now; never blocks.
  virtual bool IsSignalled() = 0;
};

// The descriptor that becomes readable once the calling thread is asked to
// end (TerminateThread); -1 on threads the platform did not start.
int CurrentThreadEndRequest();

}  // namespace qm::kernel
