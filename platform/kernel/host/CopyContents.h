// Host boundary: moving a file's bytes into another, by the host's fastest
// means. May hold the copy paths the host file systems offer.
#pragma once

#include <cstdint>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// Copies from in (at its start) to out (empty): shared extents where the
// file system has them, else an in-kernel copy, else through a buffer.
// expectedSize is the source's size when it was opened. False with errno set.
bool CopyContents(const Descriptor& in, const Descriptor& out, std::uint64_t expectedSize);

}  // namespace qm::kernel::host
