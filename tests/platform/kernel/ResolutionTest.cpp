// A path is resolved from its end where it can (what exists as written
// costs one status query) and name by name where it must; the answers are
// those of a walk through every name, whichever way was taken.
#include <gtest/gtest.h>

#include <filesystem>

#include "KernelFiles.h"

using namespace qm::test;
namespace fs = std::filesystem;

namespace {

void MakeLayout() {
  WriteHostFile(HostOnC("Res/Dir/file.txt"), "x");
  WriteHostFile(HostOnC("Res/Program Files/tool.exe"), "x");
  fs::create_symlink("Dir", HostOnC("Res/link-to-dir"));
  fs::create_symlink("nowhere", HostOnC("Res/dangling"));
}

}  // namespace

TEST(Resolution, AnswersWhatANameByNameWalkAnswers) {
  MakeLayout();
  struct Row {
    const char* path;
    DWORD attributes;  // INVALID_FILE_ATTRIBUTES with `error` when not found
    DWORD error;
  } rows[] = {
      {"C:\\Res\\Dir\\file.txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\res\\DIR\\File.Txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Dir\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\RES\\dir\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\Res\\link-to-dir\\file.txt", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Link-To-Dir\\FILE.TXT", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\PROGRA~1\\TOOL.EXE", FILE_ATTRIBUTE_ARCHIVE, 0},
      {"C:\\Res\\Dir\\missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\dir\\MISSING.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\Missing\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\Missing\\Deeper\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\Dir\\file.txt\\more", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"C:\\Res\\dangling", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\DANGLING", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\Res\\dangling\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
  };
  // Twice: the second time every folder on the way is indexed.
  for (int pass = 0; pass < 2; ++pass) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.path) + (pass ? " (indexed)" : ""));
      SetLastError(ERROR_SUCCESS);
      EXPECT_EQ(GetFileAttributesA(row.path), row.attributes);
      if (row.attributes == INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(GetLastError(), row.error);
      }
    }
  }
}

// What the resolution learnt on the way stands in for a status query only
// where the two cannot differ: a link is still examined as a link.
TEST(Resolution, DeletesALinkItselfAndNeverWhatItPointsTo) {
  MakeLayout();
  EXPECT_TRUE(DeleteFileA("C:\\Res\\DANGLING"));
  EXPECT_FALSE(HostExists(HostOnC("Res/dangling")));
  EXPECT_TRUE(DeleteFileA("C:\\Res\\link-to-dir"));
  EXPECT_FALSE(HostExists(HostOnC("Res/link-to-dir")));
  EXPECT_TRUE(HostExists(HostOnC("Res/Dir/file.txt")));
  EXPECT_EQ(FailureOf(DeleteFileA("C:\\Res\\Dir")), ERROR_ACCESS_DENIED);
}

TEST(Resolution, CopiesFromAndToNamesInAnyCase) {
  WriteHostFile(HostOnC("From/Source File.DAT"), "payload");
  WriteHostFile(HostOnC("To/Target.DAT"), "old");
  std::tuple<const char*, const char*, const char*> rows[] = {
      {"C:\\From\\Source File.DAT", "C:\\To\\New.dat", "To/New.dat"},
      {"C:\\FROM\\source file.dat", "C:\\to\\target.dat", "To/Target.DAT"},
      {"C:\\from\\SOURCE~1.DAT", "C:\\To\\Third.dat", "To/Third.dat"},
  };
  for (const auto& [source, target, hostTarget] : rows) {
    SCOPED_TRACE(source);
    ASSERT_TRUE(CopyFileA(source, target, FALSE));
    EXPECT_EQ(ReadHostFile(HostOnC(hostTarget)), "payload");
  }
  EXPECT_EQ(FailureOf(CopyFileA("C:\\From\\Missing.dat", "C:\\To\\x.dat", FALSE)), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(HostExists(HostOnC("To/x.dat")));
}
