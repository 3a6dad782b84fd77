#include <gtest/gtest.h>

#include "platform/kernel/FileApi.h"

namespace {
ULONGLONG FreeBytes(const char* root) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
  EXPECT_TRUE(GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &total));
  return ULONGLONG(sectors) * bytes * freeClusters;
}
}  // namespace

TEST(FreeSpaceOverride, FixesTheDriveItNamesUntilCleared) {
  qm::kernel::SetDiskFreeSpaceOverride('c', 8ull << 20);
  EXPECT_EQ(FreeBytes("C:\\"), 8ull << 20);
  EXPECT_EQ(FreeBytes("c:\\"), 8ull << 20);
  ULONGLONG hostRoot = FreeBytes("Z:\\");
  EXPECT_NE(hostRoot, 0u);
  qm::kernel::SetDiskFreeSpaceOverride('C', std::nullopt);
  EXPECT_FALSE(qm::kernel::DiskFreeSpaceOverride('C').has_value());
}

TEST(FreeSpaceOverride, ReportsFreeSpaceBeyondTheClusterCountAsTheLargestCount) {
  qm::kernel::SetDiskFreeSpaceOverride('C', ~0ull);
  DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &freeClusters, &total));
  EXPECT_EQ(freeClusters, 0xFFFFFFFFu);
}
