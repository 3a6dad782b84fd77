#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

#include "KernelFiles.h"
#include "platform/kernel/Crt.h"
#include "platform/kernel/LastError.h"

using namespace qm::test;

namespace {

// The first line of a file opened for reading by its Windows name;
// "<not opened>" when the open fails.
std::string FirstLine(const char* windowsName) {
  std::FILE* file = CrtOpenFile(windowsName, "r");
  if (file == nullptr) return "<not opened>";
  char line[32] = {};
  if (std::fgets(line, sizeof line, file) == nullptr) line[0] = '\0';
  std::fclose(file);
  return line;
}

// What fread gives of a whole file in each mode.
std::string ReadAll(const char* windowsName, const char* mode) {
  std::FILE* file = CrtOpenFile(windowsName, mode);
  if (file == nullptr) return "<not opened>";
  std::string text;
  char block[3];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
  std::fclose(file);
  return text;
}

}  // namespace

// Read in text mode, the runtime drops the CR of a CR LF and stops at a
// Ctrl-Z, which DOS editors put at a file's end; binary mode reads the bytes.
TEST(Crt, TextModeReadsLineEndsAndTheEndOfFileMarkAsTheWindowsRuntime) {
  struct Row {
    std::string content;
    std::string text;
  } rows[] = {
      {"300 db\r\n200 bin\r\n", "300 db\n200 bin\n"},
      {"a\rb\r\r\nc\r", "a\rb\r\nc\r"},
      {"12\r\n\r\n", "12\n\n"},
      {std::string("300 db\x1a 5 x\r\n"), "300 db"},
      {std::string("\x1a"), ""},
      {std::string("end\r\x1a"), "end\r"},
      {"", ""},
      // A CR LF across the reader's 16 KiB blocks of the file.
      {std::string(16383, 'x') + "\r\n" + "y", std::string(16383, 'x') + "\ny"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.content.substr(0, 40)));
    WriteHostFile(HostOnC("Text/install.cfg"), row.content);
    EXPECT_EQ(ReadAll("C:\\Text\\install.cfg", "r"), row.text);
    EXPECT_EQ(ReadAll("C:\\Text\\install.cfg", "rb"), row.content);
  }
}

TEST(Crt, OpensFilesByTheirWindowsNames) {
  WriteHostFile(HostOnC("Medium/install.cfg"), "1234 db\n");
  EXPECT_EQ(FirstLine("C:\\MEDIUM\\Install.cfg"), "1234 db\n");

  std::FILE* file = CrtOpenFile("C:\\medium\\Notes.txt", "w");
  ASSERT_NE(file, nullptr);
  std::fputs("written", file);
  std::fclose(file);
  EXPECT_EQ(ReadHostFile(HostOnC("Medium/Notes.txt")), "written");
}

TEST(Crt, RefusesToWriteReadOnlyFilesOrOpenFolders) {
  WriteHostFile(HostOnC("locked.txt"), "x");
  MakeHostReadOnly(HostOnC("locked.txt"));
  std::filesystem::create_directories(HostOnC("Folder"));
  std::tuple<const char*, const char*, int> rows[] = {
      {"C:\\locked.txt", "r+", EACCES}, {"C:\\locked.txt", "w", EACCES}, {"C:\\Folder", "r", EACCES},
      {"C:\\missing.txt", "r", ENOENT}, {"C:\\Missing\\new.txt", "w", ENOENT},
  };
  for (const auto& [name, mode, error] : rows) {
    SCOPED_TRACE(std::string(name) + " " + mode);
    errno = 0;
    EXPECT_EQ(CrtOpenFile(name, mode), nullptr);
    EXPECT_EQ(errno, error);
  }
  std::FILE* file = CrtOpenFile("C:\\locked.txt", "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(ReadHostFile(HostOnC("locked.txt")), "x");
}

TEST(Crt, StatsLikeTheRuntimeDoes) {
  std::string big = HostOnC("Data/big.bin");
  WriteHostFile(big, "");
  ASSERT_EQ(truncate(big.c_str(), (1LL << 32) + 10), 0);
  CrtStat status{};
  ASSERT_EQ(CrtStatFile("C:\\data\\BIG.BIN", &status), 0);
  EXPECT_EQ(status.size, 10u);
  EXPECT_FALSE(status.isDirectory);
  EXPECT_FALSE(status.isReadOnly);
  ASSERT_EQ(CrtStatFile("C:\\Data", &status), 0);
  EXPECT_TRUE(status.isDirectory);
  EXPECT_EQ(CrtStatFile("C:\\", &status), 0);
  // A folder written with a trailing backslash, or a pattern, is not found.
  for (const char* name : {"C:\\Data\\", "C:\\Data\\*.bin", "C:\\Data\\none.bin"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CrtStatFile(name, &status), -1);
    EXPECT_EQ(errno, ENOENT);
  }
}

TEST(Crt, OpensOnlyRegularFilesAndNeverWaitsInTheOpen) {
  // A FIFO without a writer would hold a plain open for reading forever;
  // one without a reader would refuse a plain open for writing.
  const std::string fifo = HostOnC("pipe.cfg");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", HostOnC("zero.cfg"));
  std::filesystem::create_symlink("/dev/null", HostOnC("null.cfg"));
  WriteHostFile(HostOnC("real.cfg"), "1 db\n");
  std::filesystem::create_symlink(HostOnC("real.cfg"), HostOnC("linked.cfg"));
  std::pair<const char*, const char*> refused[] = {
      {"C:\\pipe.cfg", "r"}, {"C:\\pipe.cfg", "r+"}, {"C:\\pipe.cfg", "w"},  {"C:\\zero.cfg", "r"},
      {"C:\\zero.cfg", "rb"}, {"C:\\null.cfg", "w"},  {"C:\\null.cfg", "a"},
  };
  for (const auto& [name, mode] : refused) {
    SCOPED_TRACE(std::string(name) + " " + mode);
    errno = 0;
    EXPECT_EQ(CrtOpenFile(name, mode), nullptr);
    EXPECT_NE(errno, 0);
  }
  errno = 0;
  EXPECT_EQ(CrtOpenFile("C:\\pipe.cfg", "r"), nullptr);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  // A link to a regular file is that file, as the host shows it.
  for (const char* name : {"C:\\real.cfg", "C:\\linked.cfg"}) EXPECT_EQ(FirstLine(name), "1 db\n") << name;
}
