// Host-specific: eventfd.
#include "platform/kernel/host/Event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/kernel/host/Poll.h"
#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

bool Event::Open() {
  fd.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  return fd.IsOpen();
}

void Event::Set() {
  std::uint64_t one = 1;
  // A counter at its limit is set already: the failed write changes nothing.
  ssize_t ignored = RetryOnSignal([&] { return ::write(fd.Get(), &one, sizeof one); });
  (void)ignored;
}

void Event::Reset() {
  std::uint64_t count;
  ssize_t ignored = RetryOnSignal([&] { return ::read(fd.Get(), &count, sizeof count); });
  (void)ignored;
}

bool Event::IsSet() const {
  std::size_t ready = 0;
  int descriptor = fd.Get();
  return WaitForReadable({&descriptor, 1}, 0, &ready) == WaitOutcome::Ready;
}

}  // namespace qm::kernel::host
