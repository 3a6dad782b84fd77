// Host boundary: waiting for descriptors to become readable. May hold poll
// and the clock that bounds it.
#pragma once

#include <cstddef>
#include <span>

namespace qm::kernel::host {

enum class WaitOutcome { Ready, TimedOut, Failed };

// Waits until one of fds is readable, or timeoutMs milliseconds have passed
// (negative: no limit). Ready sets *ready to the index of the first readable
// descriptor; Failed leaves errno set. A signal does not end the wait early.
WaitOutcome WaitForReadable(std::span<const int> fds, long long timeoutMs, std::size_t* ready);

}  // namespace qm::kernel::host
