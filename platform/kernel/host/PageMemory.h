// Host boundary: memory taken from the host in whole pages. May hold
// mapping and unmapping anonymous memory and advice on how to back it.
//
// A picture as large as the screen is written whole when it is made, and
// every page of it then costs the host a fault: in blocks of large pages
// the same picture costs a handful.
#pragma once

#include <cstddef>

namespace qm::kernel::host {

// A large page on the hosts this runs on: a block is a whole number of
// them, and one smaller than a large page gains nothing.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

// A block of at least `bytes`, zero-filled, in pages of its own that the
// host is asked to back with large pages; nullptr when the host has none
// to give.
void* AllocatePageBlock(std::size_t bytes);
// Gives back a block AllocatePageBlock made for the same `bytes`.
void FreePageBlock(void* block, std::size_t bytes);

}  // namespace qm::kernel::host
