#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

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
