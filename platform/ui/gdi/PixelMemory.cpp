// Pixel storage for surfaces (Surface.h).
#include <new>

#include "platform/kernel/host/PageMemory.h"
#include "platform/ui/Surface.h"

namespace qm::ui {

void* AllocatePixels(std::size_t bytes) {
  if (bytes < kernel::host::kLargePage) return ::operator new(bytes);
  // The size alone tells FreePixels where a block came from.
  void* block = kernel::host::AllocatePageBlock(bytes);
  if (!block) throw std::bad_alloc();
  return block;
}

void FreePixels(void* pixels, std::size_t bytes) {
  if (bytes >= kernel::host::kLargePage) kernel::host::FreePageBlock(pixels, bytes);
  else ::operator delete(pixels);
}

}  // namespace qm::ui
