#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>

#include "KernelFiles.h"
#include "platform/kernel/host/Signals.h"

using namespace qm::test;

TEST(CopyFile, CopiesContentsReadOnlyAttributeAndWriteTime) {
  std::string source = HostOnC("Medium/bin/start.exe");
  WriteHostFile(source, std::string(300000, 'q'));
  MakeHostReadOnly(source);
  struct timeval times[2] = {{1200000000, 0}, {1200000000, 0}};
  ASSERT_EQ(utimes(source.c_str(), times), 0);
  std::filesystem::create_directories(HostOnC("Games/bin"));

  ASSERT_TRUE(CopyFileA("C:\\Medium\\bin\\start.exe", "C:\\Games\\bin\\start.exe", FALSE));
  std::string target = HostOnC("Games/bin/start.exe");
  EXPECT_EQ(ReadHostFile(target), std::string(300000, 'q'));
  EXPECT_EQ(GetFileAttributesA("C:\\Games\\bin\\start.exe"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  struct stat status;
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(HostEntries(HostOnC("Games/bin")), std::vector<std::string>{"start.exe"});
}

TEST(CopyFile, CopiesAnEmptyFile) {
  WriteHostFile(HostOnC("empty.txt"), "");
  ASSERT_TRUE(CopyFileA("C:\\empty.txt", "C:\\copy.txt", FALSE));
  EXPECT_TRUE(HostExists(HostOnC("copy.txt")));
  EXPECT_EQ(ReadHostFile(HostOnC("copy.txt")), "");
}

TEST(CopyFile, FailIfExistsKeepsTheDestination) {
  WriteHostFile(HostOnC("new.txt"), "new");
  WriteHostFile(HostOnC("old.txt"), "old");
  EXPECT_EQ(FailureOf(CopyFileA("C:\\new.txt", "C:\\old.txt", TRUE)), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadHostFile(HostOnC("old.txt")), "old");
  EXPECT_TRUE(CopyFileA("C:\\new.txt", "C:\\fresh.txt", TRUE));
  EXPECT_EQ(ReadHostFile(HostOnC("fresh.txt")), "new");
  EXPECT_TRUE(CopyFileA("C:\\new.txt", "C:\\old.txt", FALSE));
  EXPECT_EQ(ReadHostFile(HostOnC("old.txt")), "new");
}

TEST(CopyFile, RefusesAReadOnlyDestinationUntilTheBitIsCleared) {
  WriteHostFile(HostOnC("Medium/readme.txt"), "second edition");
  WriteHostFile(HostOnC("Games/readme.txt"), "first edition");
  MakeHostReadOnly(HostOnC("Games/readme.txt"));
  EXPECT_EQ(FailureOf(CopyFileA("C:\\Medium\\readme.txt", "C:\\Games\\readme.txt", FALSE)), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadHostFile(HostOnC("Games/readme.txt")), "first edition");

  DWORD attributes = GetFileAttributesA("C:\\Games\\readme.txt");
  ASSERT_TRUE(SetFileAttributesA("C:\\Games\\readme.txt", attributes & ~FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(CopyFileA("C:\\Medium\\readme.txt", "C:\\Games\\readme.txt", FALSE));
  EXPECT_EQ(ReadHostFile(HostOnC("Games/readme.txt")), "second edition");
}

TEST(CopyFile, OverwritesTheExistingNameIgnoringCase) {
  WriteHostFile(HostOnC("src.txt"), "new");
  WriteHostFile(HostOnC("Games/README.TXT"), "old");
  ASSERT_TRUE(CopyFileA("C:\\src.txt", "C:\\games\\readme.txt", FALSE));
  EXPECT_EQ(HostEntries(HostOnC("Games")), std::vector<std::string>{"README.TXT"});
  EXPECT_EQ(ReadHostFile(HostOnC("Games/README.TXT")), "new");
}

TEST(CopyFile, AFailedCopyKeepsTheOldDestinationAndLeavesNoTemporaryFile) {
  WriteHostFile(HostOnC("Games/data.db"), "good old data");
  std::filesystem::create_directories(HostOnC("Medium/folder"));
  std::pair<const char*, DWORD> rows[] = {
      {"C:\\Medium\\vanished.db", ERROR_FILE_NOT_FOUND},
      {"C:\\Medium\\gone\\data.db", ERROR_PATH_NOT_FOUND},
      {"C:\\Medium\\folder", ERROR_ACCESS_DENIED},
  };
  for (const auto& [source, error] : rows) {
    SCOPED_TRACE(source);
    EXPECT_EQ(FailureOf(CopyFileA(source, "C:\\Games\\data.db", FALSE)), error);
    EXPECT_EQ(ReadHostFile(HostOnC("Games/data.db")), "good old data");
    EXPECT_EQ(HostEntries(HostOnC("Games")), std::vector<std::string>{"data.db"});
  }
}

TEST(CopyFile, AWriteFailingHalfwayKeepsTheOldDestination) {
  WriteHostFile(HostOnC("Medium/big.db"), std::string(1 << 20, 'n'));
  WriteHostFile(HostOnC("Games/big.db"), "good old data");
  // The program's start-up makes a write past the host's limit fail instead
  // of ending the process.
  qm::kernel::host::FailWritesPastTheFileSizeLimit();
  DWORD error = UnderFileSizeLimit(64 * 1024, [] {
    return FailureOf(CopyFileA("C:\\Medium\\big.db", "C:\\Games\\big.db", FALSE));
  });
  EXPECT_EQ(error, ERROR_FILE_TOO_LARGE);
  EXPECT_EQ(ReadHostFile(HostOnC("Games/big.db")), "good old data");
  EXPECT_EQ(HostEntries(HostOnC("Games")), std::vector<std::string>{"big.db"});
}

TEST(CopyFile, FailsIntoAMissingFolderOrOntoItself) {
  WriteHostFile(HostOnC("a.txt"), "a");
  std::filesystem::create_directories(HostOnC("Folder"));
  EXPECT_EQ(FailureOf(CopyFileA("C:\\a.txt", "C:\\Missing\\a.txt", FALSE)), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(FailureOf(CopyFileA("C:\\a.txt", "C:\\A.TXT", FALSE)), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(ReadHostFile(HostOnC("a.txt")), "a");
  EXPECT_EQ(FailureOf(CopyFileA("C:\\a.txt", "C:\\Folder", FALSE)), ERROR_ACCESS_DENIED);
}

// A medium holds files and folders only; anything else under a file's name
// is refused at once, as a folder is, and nothing is left at the
// destination. A FIFO would block the open, a device be read without end:
// the alarm ends the test program instead of letting it hang.
TEST(CopyFile, RefusesAFifoOrADeviceAsItRefusesAFolder) {
  std::filesystem::create_directories(HostOnC("Medium"));
  ASSERT_EQ(mkfifo(HostOnC("Medium/pipe").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", HostOnC("Medium/zero"));
  std::filesystem::create_directories(HostOnC("Games"));
  for (const char* name : {"pipe", "zero"}) {
    SCOPED_TRACE(name);
    alarm(10);
    EXPECT_EQ(FailureOf(CopyFileA((std::string("C:\\Medium\\") + name).c_str(),
                                  (std::string("C:\\Games\\") + name).c_str(), FALSE)),
              ERROR_ACCESS_DENIED);
    alarm(0);
    EXPECT_EQ(HostEntries(HostOnC("Games")), std::vector<std::string>{});
  }
}

// A link where the copy puts a file, or whose attributes it changes, is
// replaced or left alone: what it points to, elsewhere on the host, is
// never touched through it.
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
  // `linkTo` is the host path the destination link points to.
  struct Row { const char* why; std::string linkTo; bool readOnlyTarget; } rows[] = {
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
