// Host-specific: ppoll against the monotonic clock.
#include "platform/kernel/host/Poll.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

WaitOutcome WaitForReadable(std::span<const int> fds, long long timeoutMs, std::size_t* ready) {
  std::vector<pollfd> polled;
  for (int fd : fds) polled.push_back(pollfd{fd, POLLIN, 0});
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  // After a signal the wait goes on for the time that is left, not afresh.
  int count = RetryOnSignal([&] {
    if (timeoutMs < 0) return ::ppoll(polled.data(), polled.size(), nullptr, nullptr);
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
    if (left.count() < 0) left = std::chrono::nanoseconds(0);
    timespec limit{static_cast<time_t>(left.count() / 1000000000), static_cast<long>(left.count() % 1000000000)};
    return ::ppoll(polled.data(), polled.size(), &limit, nullptr);
  });
  if (count < 0) return WaitOutcome::Failed;
  if (count == 0) return WaitOutcome::TimedOut;
  for (std::size_t i = 0; i < polled.size(); ++i) {
    // A descriptor that is closed or broken counts as readable: a read on
    // it answers at once, so the caller learns of it without waiting.
    if (polled[i].revents != 0) {
      *ready = i;
      return WaitOutcome::Ready;
    }
  }
  errno = EIO;
  return WaitOutcome::Failed;
}

}  // namespace qm::kernel::host
