#include <gtest/gtest.h>

#include "install/service/Service.h"

namespace {

TEST(SystemQueries, DiskFreeKbComesFromTheDriveRoot) {
  CreateDirectoryPath("C:\\Games\\Quellmoor");
  EXPECT_GT(GetDiskFreeKb("C:\\"), 0);
  EXPECT_EQ(GetDiskFreeKb("C:\\Games\\Quellmoor"), GetDiskFreeKb("C:\\"));
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
