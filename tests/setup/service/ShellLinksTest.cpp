#include <gtest/gtest.h>

#include "install/service/ShellLinks.h"
#include "platform/shell/ShellLink.h"
#include "support/WindowsFiles.h"

namespace {

using qm::test::Exists;
using qm::test::MakeWindowsDirectory;

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
