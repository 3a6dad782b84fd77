#include <gtest/gtest.h>

#include "install/settings/InstallationSettings.h"
#include "support/WindowsFiles.h"
#include "support/installer/RegistryRecords.h"

namespace {

class DirectXTest : public testing::Test {
 protected:
  void TearDown() override { InstallationSettings::Reset(); }
  static InstallationSettings& ProbedWith(const char* version) {
    qm::test::RecordDirectXVersion(version);
    InstallationSettings::Reset();
    return Settings();
  }
};

TEST_F(DirectXTest, ProbeAsksForDirectX7OrLaterAndAFailedQueryForARestartToo) {
  struct Case {
    const char* version;  // null: none recorded, so the library's query fails
    bool needed;
    bool restart;
  };
  const Case cases[] = {
      {"4.06.02.0436", true, false}, {"4.07.00.0700", false, false}, {"4.08.01.0810", false, false},
      {nullptr, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version ? c.version : "failed query");
    InstallationSettings& settings = ProbedWith(c.version);
    EXPECT_EQ(settings.directXNeeded, c.needed);
    EXPECT_EQ(settings.restartNeeded, c.restart);
  }
}

TEST_F(DirectXTest, SetupResultsMapToSuccessAndTheRestartFlag) {
  struct Case {
    const char* name;
    std::string manifest;  // empty: no package at all
    bool restartBefore;
    bool succeeded;
    bool restartAfter;
  };
  const Case cases[] = {
      {"installed", "Version=4.07.00.0700\nFile=ddraw.dll\n", false, true, false},
      {"installed, restart", "Version=4.07.00.0700\nRestart=yes\nFile=ddraw.dll\n", false, true, true},
      {"file missing", "Version=4.07.00.0700\nFile=dsound.dll\n", true, false, true},
      {"no package", "", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstallationSettings& settings = ProbedWith("4.06.02.0436");
    settings.directxPath = std::string("C:\\medium\\") + c.name;
    if (!c.manifest.empty()) {
      qm::test::MakeWindowsDirectory(settings.directxPath);
      ASSERT_TRUE(qm::test::WriteWindowsFile(settings.directxPath + "\\package.txt", c.manifest));
      ASSERT_TRUE(qm::test::WriteWindowsFile(settings.directxPath + "\\ddraw.dll", "MZ"));
    }
    settings.restartNeeded = c.restartBefore;
    EXPECT_EQ(settings.RunDirectXSetup(), c.succeeded);
    EXPECT_EQ(settings.restartNeeded, c.restartAfter);
  }
}

}  // namespace
