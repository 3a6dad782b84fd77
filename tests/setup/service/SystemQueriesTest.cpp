#include <gtest/gtest.h>

#include "install/service/Service.h"

namespace {

TEST(SystemQueries, DiskFreeKbComesFromTheDriveRoot) {
  CreateDirectoryPath("C:\\Games\\Quellmoor");
  EXPECT_GT(GetDiskFreeKb("C:\\"), 0);
  // The host disk's free space moves while other programs (the other tests)
  // write; a reading taken between two equal readings of the root must
  // equal them.
  std::int32_t before = 0, inside = 0, after = 0;
  for (int attempt = 0; attempt < 20; ++attempt) {
    before = GetDiskFreeKb("C:\\");
    inside = GetDiskFreeKb("C:\\Games\\Quellmoor");
    after = GetDiskFreeKb("C:\\");
    if (before == after) break;
  }
  ASSERT_EQ(before, after) << "the free space never held still";
  EXPECT_EQ(inside, before);
  EXPECT_EQ(GetDiskFreeKb("Games\\Quellmoor"), 0);
}

TEST(SystemQueries, FreeSpaceBeyondTheSignedRangeIsCappedNotWrapped) {
  const std::int32_t largest = 0x7FFFFFFF;
  EXPECT_EQ(FreeClustersToKb(4096, 1000), 4000);
  EXPECT_EQ(FreeClustersToKb(512, 3), 1);  // 1.5 KB
  EXPECT_EQ(FreeClustersToKb(4096, 0x80000000u), largest);  // 8 TiB
  EXPECT_EQ(FreeClustersToKb(65536, 0xFFFFFFFFu), largest);
}

TEST(SystemQueries, TempDirectoryLosesItsTrailingBackslash) {
  const std::string temp = GetTempDirectory();
  ASSERT_GT(temp.size(), 3u);
  EXPECT_NE(temp.back(), '\\');
  EXPECT_TRUE(IsDirectory(temp));
}

}  // namespace
