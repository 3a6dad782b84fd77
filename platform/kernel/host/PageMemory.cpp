// Host-specific: Linux anonymous mappings (mmap) and transparent huge
// pages (madvise).
#include "platform/kernel/host/PageMemory.h"

#include <sys/mman.h>

#include <cstdint>

namespace qm::kernel::host {
namespace {

std::size_t Rounded(std::size_t bytes) { return (bytes + kLargePage - 1) / kLargePage * kLargePage; }

}  // namespace

void* AllocatePageBlock(std::size_t bytes) {
  const std::size_t length = Rounded(bytes);
  // Room for a large page's alignment, the rest given back at once.
  const std::size_t reserved = length + kLargePage;
  void* mapped = ::mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
  if (aligned != start) ::munmap(mapped, aligned - start);
  const std::uintptr_t end = start + reserved;
  if (end != aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
  // Advice only: a host without large pages backs the block as any other.
  ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreePageBlock(void* block, std::size_t bytes) {
  if (block) ::munmap(block, Rounded(bytes));
}

}  // namespace qm::kernel::host
