// Host boundary: an event that waits can see, on an eventfd. May hold the
// event descriptor and its signalling; waiting on it lives in Poll.
#pragma once

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// Set stays set until Reset, however many times it is set: a waiter that
// comes late still sees it.
class Event {
 public:
  // Makes the event, not set; false with errno set.
  bool Open();
  void Set();
  void Reset();
  bool IsSet() const;
  // Readable while the event is set.
  const Descriptor& Fd() const { return fd; }

 private:
  Descriptor fd;
};

}  // namespace qm::kernel::host
