#include <gtest/gtest.h>

#include "install/service/Service.h"
#include "support/WindowsFiles.h"

namespace {

TEST(Checksums, StringCrcIsTheUninvertedStateOfTheStandardTable) {
  EXPECT_EQ(StringCrc32("abc"), 0xCADBBE3Du);
  EXPECT_EQ(StringCrc32("123456789"), ~0xCBF43926u);  // the usual check value, complemented
  EXPECT_EQ(UpdateCrc32(0, 1), 0x77073096u);          // table entry 1
}

TEST(Checksums, FileCrcCountsAnEndOfFileMarkerOnce) {
  CreateDirectoryA("C:\\crc", nullptr);
  ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\crc\\plain.txt", "abc"));
  ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\crc\\marked.txt", "abc\x1A"));
  ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\crc\\empty.txt", ""));
  EXPECT_EQ(FileCrc32("C:\\crc\\plain.txt"), UpdateCrc32(StringCrc32("abc"), 0x1A));
  EXPECT_EQ(FileCrc32("C:\\crc\\marked.txt"), FileCrc32("C:\\crc\\plain.txt"));
  EXPECT_EQ(FileCrc32("C:\\crc\\empty.txt"), UpdateCrc32(0xFFFFFFFFu, 0x1A));
  EXPECT_EQ(FileCrc32("C:\\crc\\missing.txt"), 0xFFFFFFFFu);
}

}  // namespace
