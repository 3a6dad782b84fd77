// Host boundary: moving a file's bytes into another, by the host's fastest
// means. May hold the copy paths the host file systems offer.
#pragma once

#include <cstdint>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// Makes out (empty) share in's extents, where the file system has them;
// false with errno set. EOPNOTSUPP, ENOTTY and EXDEV say the two files'
// file systems cannot, whatever the files.
bool CloneContents(const Descriptor& in, const Descriptor& out);

// Copies from in (at its start) to out (empty): an in-kernel copy, else
// through a buffer. expectedSize is the source's size when it was opened;
// the copy ends there or at the end of the file, whichever comes first.
// False with errno set.
bool CopyContents(const Descriptor& in, const Descriptor& out, std::uint64_t expectedSize);

}  // namespace qm::kernel::host
