// Host boundary: C streams over host files. May hold opening a file for a
// stream without waiting in the open, and handing a descriptor to a stream.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// Opens path with the access of an fopen mode ("r", "w", "a", each with
// "+" and "b"), creating or truncating as fopen would, but never waiting in
// the open itself: a FIFO without a writer or a device answers at once
// (StatDescriptor then tells what was opened). Not open, with errno set, on
// failure; EINVAL for a mode fopen would not take.
Descriptor OpenForStream(const std::string& path, std::string_view mode);

// A C stream of that mode over the descriptor, which it then owns; reads
// and writes on it wait as usual. Read in text mode ("r" or "rt"), CR LF
// reads as LF and a Ctrl-Z byte ends the file, as the Windows runtime reads
// it; every other mode is binary. nullptr with errno set (the descriptor is
// closed) on failure.
std::FILE* StreamFromDescriptor(Descriptor file, std::string_view mode);

}  // namespace qm::kernel::host
