#include <gtest/gtest.h>

#include <cstring>

#include "install/settings/InstallationSettings.h"
#include "platform/registry/Registry.h"
#include "support/WindowsFiles.h"

namespace {

// Records the installed DirectX as the setup library finds it.
void RecordDirectXVersion(const char* version) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (version != nullptr)
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(std::strlen(version) + 1));
  else
    RegDeleteValueA(key, "Version");
  RegCloseKey(key);
}

class DirectXTest : public testing::Test {
 protected:
  void TearDown() override { InstallationSettings::Reset(); }
  static InstallationSettings& ProbedWith(const char* version) {
    RecordDirectXVersion(version);
    InstallationSettings::Reset();
    return Settings();
  }
};

TEST_F(DirectXTest, ProbeAsksForDirectX7OrLater) {
  struct Case {
    const char* version;
    bool needed;
  };
  const Case cases[] = {{"4.06.02.0436", true}, {"4.07.00.0700", false}, {"4.08.01.0810", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    InstallationSettings& settings = ProbedWith(c.version);
    EXPECT_EQ(settings.directXNeeded, c.needed);
    EXPECT_FALSE(settings.restartNeeded);
  }
}

TEST_F(DirectXTest, FailedVersionQueryAsksForDirectXAndARestart) {
  // Without a recorded version the library's query fails.
  InstallationSettings& settings = ProbedWith(nullptr);
  EXPECT_TRUE(settings.directXNeeded);
  EXPECT_TRUE(settings.restartNeeded);
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
