// A link where the copy puts a file, or whose attributes it changes, is
// replaced or left alone: what it points to, elsewhere on the host, is
// never touched through it.
#include <gtest/gtest.h>

#include <filesystem>

#include "KernelFiles.h"

using namespace qm::test;

namespace {

bool IsLink(const std::string& hostPath) { return std::filesystem::is_symlink(hostPath); }

}  // namespace

TEST(LinkAtDestination, SetFileAttributesFollowingASymlinkMadeTheLinkedFileWritable) {
  const std::string outside = HostOnC("Elsewhere/settings.ini");
  WriteHostFile(outside, "keep me");
  MakeHostReadOnly(outside);
  std::filesystem::create_directories(HostOnC("Games"));
  std::filesystem::create_symlink(outside, HostOnC("Games/settings.ini"));
  const unsigned before = ModeOf(outside);

  // What the copy does before it overwrites a file from an earlier run.
  DWORD attributes = GetFileAttributesA("C:\\Games\\settings.ini");
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(SetFileAttributesA("C:\\Games\\settings.ini", attributes & ~FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(SetFileAttributesA("C:\\Games\\settings.ini", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ModeOf(outside), before);
  EXPECT_TRUE(IsLink(HostOnC("Games/settings.ini")));
}

TEST(LinkAtDestination, CopyOverASymlinkReplacesTheLinkAndLeavesItsTarget) {
  WriteHostFile(HostOnC("Medium/new.ini"), "new contents");
  struct Row {
    const char* why;
    std::string linkTo;  // host path the destination link points to
    bool readOnlyTarget;
  } rows[] = {
      {"writable file elsewhere", HostOnC("Elsewhere/a.ini"), false},
      {"read-only file elsewhere", HostOnC("Elsewhere/b.ini"), true},
      {"nothing (a dangling link)", HostOnC("Elsewhere/missing.ini"), false},
      {"the source itself", HostOnC("Medium/new.ini"), false},
  };
  std::filesystem::create_directories(HostOnC("Games"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const bool targetExists = row.linkTo.find("missing") == std::string::npos;
    if (targetExists && row.linkTo.find("Elsewhere") != std::string::npos) {
      WriteHostFile(row.linkTo, "outside");
      if (row.readOnlyTarget) MakeHostReadOnly(row.linkTo);
    }
    const std::string destination = HostOnC("Games/copy.ini");
    std::filesystem::remove(destination);
    std::filesystem::create_symlink(row.linkTo, destination);
    const std::string before = targetExists ? ReadHostFile(row.linkTo) : std::string();
    const unsigned modeBefore = ModeOf(row.linkTo);

    EXPECT_TRUE(CopyFileA("C:\\Medium\\new.ini", "C:\\Games\\copy.ini", FALSE)) << GetLastError();
    EXPECT_FALSE(IsLink(destination));
    EXPECT_EQ(ReadHostFile(destination), "new contents");
    EXPECT_EQ(HostExists(row.linkTo), targetExists);
    if (targetExists) {
      EXPECT_EQ(ReadHostFile(row.linkTo), before);
      EXPECT_EQ(ModeOf(row.linkTo), modeBefore);
    }
  }
}

TEST(LinkAtDestination, FailIfExistsCountsALinkAsTaken) {
  WriteHostFile(HostOnC("Medium/new.ini"), "new");
  std::filesystem::create_directories(HostOnC("Games"));
  std::filesystem::create_symlink(HostOnC("Elsewhere/missing.ini"), HostOnC("Games/copy.ini"));
  EXPECT_EQ(FailureOf(CopyFileA("C:\\Medium\\new.ini", "C:\\Games\\copy.ini", TRUE)), ERROR_FILE_EXISTS);
  EXPECT_TRUE(IsLink(HostOnC("Games/copy.ini")));
}
