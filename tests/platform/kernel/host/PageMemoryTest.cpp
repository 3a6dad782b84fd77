// Blocks of whole pages for screen-sized pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "platform/kernel/host/PageMemory.h"

using namespace qm::kernel::host;

TEST(PageMemory, BlocksAreZeroedWritableToTheirLastByteAndAlignedToALargePage) {
  // A screen's picture, one just past a large page, and an exact multiple.
  for (std::size_t bytes : {std::size_t(1024) * 768 * 4, kLargePage + 1, 4 * kLargePage}) {
    SCOPED_TRACE(bytes);
    auto* block = static_cast<unsigned char*>(AllocatePageBlock(bytes));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kLargePage, 0u);
    EXPECT_TRUE(std::all_of(block, block + bytes, [](unsigned char byte) { return byte == 0; }));
    block[0] = 1;
    block[bytes - 1] = 2;
    EXPECT_EQ(block[0] + block[bytes - 1], 3);
    FreePageBlock(block, bytes);
  }
}
