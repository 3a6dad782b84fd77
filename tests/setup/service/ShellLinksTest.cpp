#include <gtest/gtest.h>

#include "install/service/ShellLinks.h"
#include "platform/shell/ShellLink.h"
#include "setup/service/WindowsFiles.h"

namespace {

using qm::test::Exists;
using qm::test::MakeWindowsDirectory;
using qm::test::WriteWindowsFile;

// COM is left uninitialised after every call: creating an object then fails.
bool ComIsUninitialised() {
  void* object = nullptr;
  return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object) ==
         CO_E_NOTINITIALIZED;
}

class ShellLinksTest : public testing::Test {
 protected:
  void SetUp() override { MakeWindowsDirectory("C:\\Links"); }
  void TearDown() override { qm::shell::RegisterInprocClass(CLSID_ShellLink, qm::shell::CreateShellLinkObject); }
};

TEST_F(ShellLinksTest, TheSixValuesReachTheLinkInTheirRoles) {
  struct Row {
    const char* target;
    const char* link;
    const char* description;
    const char* arguments;
    const char* icon;
    const char* workingDirectory;
  };
  const Row rows[] = {
      {"C:\\Games\\Quellmoor\\uninstall\\uninstall.exe", "C:\\Links\\Uninstall.lnk", "Uninstall", "",
       "C:\\Games\\Quellmoor\\uninstall\\uninstall.exe", "C:\\Games\\Quellmoor\\uninstall"},
      {"C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Links\\Quellmoor.lnk", "Quellmoor", "",
       "C:\\Games\\Quellmoor\\bin\\ryk.ico", ""},
      {"D:\\Quell moor\\bin\\start.exe", "C:\\Links\\Spiel \xC3\xA9.lnk", "Spiel \xC3\xA9", "-window",
       "D:\\Quell moor\\bin\\ryk.ico", "D:\\Quell moor"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.link);
    CreateShellLink(row.target, row.link, row.description, row.arguments, row.icon, row.workingDirectory);
    EXPECT_TRUE(ComIsUninitialised());
    auto link = qm::shell::ReadShellLink(row.link);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, row.target);
    EXPECT_EQ(link->description, row.description);
    EXPECT_EQ(link->arguments, row.arguments);
    EXPECT_EQ(link->iconLocation, row.icon);
    EXPECT_EQ(link->iconIndex, 0);
    EXPECT_EQ(link->workingDirectory, row.workingDirectory);
  }
}

TEST_F(ShellLinksTest, AnExistingLinkOfTheSameNameIsReplaced) {
  ASSERT_TRUE(WriteWindowsFile("C:\\Links\\Quellmoor.lnk", "an old link"));
  CreateShellLink("C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Links\\Quellmoor.lnk", "Quellmoor", "",
                  "C:\\Games\\Quellmoor\\bin\\ryk.ico", "");
  auto link = qm::shell::ReadShellLink("C:\\Links\\Quellmoor.lnk");
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->target, "C:\\Games\\Quellmoor\\bin\\start.exe");
}

TEST_F(ShellLinksTest, NoLinkObjectMeansNoFileAndComStillUninitialised) {
  qm::shell::RegisterInprocClass(CLSID_ShellLink, nullptr);
  CreateShellLink("C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Links\\Quellmoor.lnk", "Quellmoor", "",
                  "C:\\Games\\Quellmoor\\bin\\ryk.ico", "");
  EXPECT_FALSE(Exists("C:\\Links\\Quellmoor.lnk"));
  EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(ShellLinksTest, ALinkNameBeyondTheLimitIsNotCutShort) {
  const std::string folder = "C:\\Links\\" + std::string(240, 'f');
  MakeWindowsDirectory(folder);
  const std::string fits = folder + "\\" + std::string(259 - folder.size() - 5, 'a') + ".lnk";
  const std::string tooLong = folder + "\\" + std::string(260 - folder.size() - 5, 'b') + ".lnk";
  ASSERT_EQ(fits.size(), 259u);
  CreateShellLink("C:\\start.exe", fits, "fits", "", "C:\\start.exe", "");
  CreateShellLink("C:\\start.exe", tooLong, "too long", "", "C:\\start.exe", "");
  EXPECT_TRUE(Exists(fits));
  EXPECT_FALSE(Exists(tooLong));
  EXPECT_FALSE(Exists(tooLong.substr(0, 259)));
  EXPECT_TRUE(ComIsUninitialised());
}

}  // namespace
