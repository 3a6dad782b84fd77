#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

#include "platform/directx/DirectXSetup.h"
#include "platform/directx/DirectXVersion.h"
#include "platform/directx/RuntimePackage.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Prefix.h"
#include "platform/registry/Registry.h"
#include "support/HostFiles.h"

namespace fs = std::filesystem;

namespace {

// Records an installed DirectX version; null removes the value.
void SetInstalledVersion(const char* text, DWORD type = REG_SZ) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (text)
    ASSERT_EQ(RegSetValueExA(key, "Version", 0, type, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(std::strlen(text) + 1)),
              ERROR_SUCCESS);
  else
    RegDeleteValueA(key, "Version");
  RegCloseKey(key);
}

std::string DriveC() { return qm::kernel::PrefixRoot() + "/drive_c"; }

void WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// A package at C:\Media\directx.
void MakePackage(const std::string& manifest, const std::vector<std::string>& files) {
  const std::string folder = DriveC() + "/Media/directx";
  fs::remove_all(folder);
  fs::create_directories(folder);
  WriteFile(folder + "/package.txt", manifest);
  for (const std::string& file : files) WriteFile(folder + "/" + file, "component " + file);
}

INT RunSetup(const char* root = "C:\\Media\\directx", DWORD flags = DSETUP_DIRECTX) {
  std::string buffer = root;
  return DirectXSetupA(nullptr, buffer.data(), flags);
}

bool InstalledInSystem(const std::string& name) { return fs::exists(DriveC() + "/Windows/System/" + name); }

// What DirectXSetupGetVersion answers: the version, with the revision when
// asked for; nothing when it fails.
std::optional<DWORD> InstalledVersion() {
  DWORD version = 0;
  if (!DirectXSetupGetVersion(&version, nullptr)) return std::nullopt;
  return version;
}
std::optional<std::pair<DWORD, DWORD>> InstalledVersionAndRevision() {
  DWORD version = 0, revision = 0;
  if (!DirectXSetupGetVersion(&version, &revision)) return std::nullopt;
  return std::pair(version, revision);
}
using VersionAndRevision = std::pair<DWORD, DWORD>;

}  // namespace

// Each case starts without installed components, also when the cases share
// one prefix.
class DirectXSetupA : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(DriveC() + "/Windows/System");
    fs::create_directories(DriveC() + "/Windows/System");
  }
};

TEST(DirectXVersion, RefusesMalformedVersionStrings) {
  for (const char* bad : {"", "4", "4.07", "4.07.00.0700.1", "x.07.00.0700", "4..00.0700", "4.07.00.70000",
                          "0.07.00.0700", "4.07.00.0700 ", "-4.07.00.0700"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(qm::directx::ParseDirectXVersion(bad));
  }
}

TEST(DirectXSetupGetVersion, ReportsTheRecordedGeneration) {
  const struct {
    const char* text;
    WORD generation;
    DWORD revision;
  } rows[] = {{"4.06.02.0436", 6, (2u << 16) | 436},
              {"4.07.00.0700", 7, 700},
              {"4.08.01.0810", 8, (1u << 16) | 810},
              {"4.04.0068", 4, 68}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    SetInstalledVersion(row.text);
    EXPECT_EQ(InstalledVersionAndRevision(), VersionAndRevision(MAKELONG(row.generation, 4), row.revision));
  }
  EXPECT_NE(DirectXSetupGetVersion(nullptr, nullptr), 0);
}

TEST(DirectXSetupGetVersion, ANewPrefixHasDirectX9) {
  fs::remove(qm::kernel::PrefixRoot() + "/system.reg");
  EXPECT_EQ(InstalledVersionAndRevision(), VersionAndRevision(0x00040009u, 904u));
}

TEST(DirectXSetupGetVersion, FailsWhenTheVersionIsMissingOrMalformed) {
  const struct {
    const char* why;
    const char* text;
    DWORD type;
  } rows[] = {
      {"missing", nullptr, REG_SZ},
      {"empty", "", REG_SZ},
      {"garbage", "seven", REG_SZ},
      {"two parts", "4.07", REG_SZ},
      {"binary", "4.07.00.0700", REG_BINARY},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    SetInstalledVersion(row.text, row.type);
    DWORD version = 0xDEAD, revision = 0xBEEF;
    EXPECT_EQ(DirectXSetupGetVersion(&version, &revision), 0);
    EXPECT_EQ(version, 0xDEADu);
  }
}

TEST_F(DirectXSetupA, InstallsTheFilesAndRecordsTheVersion) {
  SetInstalledVersion("4.06.02.0436");
  MakePackage("Version=4.07.00.0700\r\nRestart=no\r\nFile=ddraw.dll\r\nFile=sub\\dsound.dll\r\n",
              {"ddraw.dll", "sub/dsound.dll"});
  EXPECT_EQ(RunSetup(), DSETUPERR_SUCCESS);
  EXPECT_EQ(qm::test::ReadHostFile(DriveC() + "/Windows/System/ddraw.dll"), "component ddraw.dll");
  EXPECT_EQ(qm::test::ReadHostFile(DriveC() + "/Windows/System/dsound.dll"), "component sub/dsound.dll");
  EXPECT_EQ(InstalledVersionAndRevision(), VersionAndRevision(0x00040007u, 700u));
}

TEST_F(DirectXSetupA, ReplacesAnOlderRuntimesFileWhoseNameDiffersOnlyInCase) {
  SetInstalledVersion("4.06.02.0436");
  fs::create_directories(DriveC() + "/Windows/System");
  WriteFile(DriveC() + "/Windows/System/DDRAW.DLL", "old runtime");
  MakePackage("Version=4.07.00.0700\r\nRestart=no\r\nFile=ddraw.dll\r\n", {"ddraw.dll"});
  EXPECT_EQ(RunSetup(), DSETUPERR_SUCCESS);
  EXPECT_EQ(qm::test::ReadHostFile(DriveC() + "/Windows/System/DDRAW.DLL"), "component ddraw.dll");
  EXPECT_FALSE(fs::exists(DriveC() + "/Windows/System/ddraw.dll"));
}

TEST_F(DirectXSetupA, AnswersOneWhenThePackageAsksForARestart) {
  SetInstalledVersion("4.05.01.1998");
  MakePackage("version = 4.07.00.0700\nrestart = YES\nfile = ddraw.dll\n", {"ddraw.dll"});
  EXPECT_EQ(RunSetup("c:\\MEDIA\\DirectX\\"), DSETUPERR_SUCCESS_RESTART);
  EXPECT_TRUE(InstalledInSystem("ddraw.dll"));
}

TEST_F(DirectXSetupA, NeverDowngradesANewerRuntime) {
  MakePackage("Version=4.07.00.0700\nRestart=yes\nFile=ddraw.dll\n", {"ddraw.dll"});
  for (const char* installed : {"4.09.00.0904", "4.07.00.0700"}) {
    SCOPED_TRACE(installed);
    SetInstalledVersion(installed);
    EXPECT_EQ(RunSetup(), DSETUPERR_SUCCESS);
    EXPECT_FALSE(InstalledInSystem("ddraw.dll"));
    EXPECT_EQ(InstalledVersion(), qm::directx::ParseDirectXVersion(installed)->version);
  }
}

TEST_F(DirectXSetupA, ReportsMissingAndMalformedPackages) {
  SetInstalledVersion("4.06.02.0436");
  const struct {
    const char* why;
    const char* manifest;  // null: no manifest at all
    std::vector<std::string> files;
    INT expected;
  } rows[] = {
      {"no manifest", nullptr, {"ddraw.dll"}, DSETUPERR_SOURCEFILENOTFOUND},
      {"listed file missing", "Version=4.07.00.0700\nFile=ddraw.dll\nFile=gone.dll\n", {"ddraw.dll"},
       DSETUPERR_SOURCEFILENOTFOUND},
      {"no version", "Restart=no\nFile=ddraw.dll\n", {"ddraw.dll"}, DSETUPERR_INTERNAL},
      {"bad version", "Version=seven\n", {}, DSETUPERR_INTERNAL},
      {"two versions", "Version=4.07.00.0700\nVersion=4.08.00.0400\n", {}, DSETUPERR_INTERNAL},
      {"bad restart", "Version=4.07.00.0700\nRestart=maybe\n", {}, DSETUPERR_INTERNAL},
      {"unknown entry", "Version=4.07.00.0700\nCopy=all\n", {}, DSETUPERR_INTERNAL},
      {"file outside", "Version=4.07.00.0700\nFile=..\\..\\Windows\\win.ini\n", {}, DSETUPERR_INTERNAL},
      {"absolute file", "Version=4.07.00.0700\nFile=C:\\Windows\\win.ini\n", {}, DSETUPERR_INTERNAL},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    MakePackage(row.manifest ? row.manifest : "", row.files);
    if (!row.manifest) fs::remove(DriveC() + "/Media/directx/package.txt");
    EXPECT_EQ(RunSetup(), row.expected);
    EXPECT_FALSE(InstalledInSystem("ddraw.dll"));
    EXPECT_EQ(InstalledVersion(), 0x00040006u);
  }
}

TEST_F(DirectXSetupA, AMissingRootFolderIsCantFindDir) {
  WriteFile(DriveC() + "/Media/plainfile", "x");
  for (const char* root : {"C:\\Media\\nothing", "C:\\Media\\plainfile", "Q:\\directx"}) {
    SCOPED_TRACE(root);
    EXPECT_EQ(RunSetup(root), DSETUPERR_CANTFINDDIR);
  }
}

TEST_F(DirectXSetupA, TestInstallChecksButInstallsNothing) {
  SetInstalledVersion("4.06.02.0436");
  MakePackage("Version=4.07.00.0700\nRestart=yes\nFile=ddraw.dll\n", {"ddraw.dll"});
  EXPECT_EQ(RunSetup("C:\\Media\\directx", DSETUP_DIRECTX | DSETUP_TESTINSTALL), DSETUPERR_SUCCESS);
  EXPECT_FALSE(InstalledInSystem("ddraw.dll"));
  EXPECT_EQ(InstalledVersion(), 0x00040006u);
  fs::remove(DriveC() + "/Media/directx/ddraw.dll");
  EXPECT_EQ(RunSetup("C:\\Media\\directx", DSETUP_TESTINSTALL), DSETUPERR_SOURCEFILENOTFOUND);
}

TEST_F(DirectXSetupA, OutOfDiskSpaceInstallsNothing) {
  SetInstalledVersion("4.06.02.0436");
  MakePackage("Version=4.07.00.0700\nFile=ddraw.dll\n", {"ddraw.dll"});
  qm::kernel::SetDiskFreeSpaceOverride('C', 5);
  EXPECT_EQ(RunSetup(), DSETUPERR_OUTOFDISKSPACE);
  qm::kernel::SetDiskFreeSpaceOverride('C', std::nullopt);
  EXPECT_FALSE(InstalledInSystem("ddraw.dll"));
  EXPECT_EQ(InstalledVersion(), 0x00040006u);
}

// The stand-in asks the kernel for the space, so the one seam that fixes a
// drive's free space for the wizard fixes it for the runtime setup too.
TEST_F(DirectXSetupA, EnoughFreeSpaceOnTheWindowsDriveInstalls) {
  SetInstalledVersion("4.06.02.0436");
  MakePackage("Version=4.07.00.0700\nFile=ddraw.dll\n", {"ddraw.dll"});
  qm::kernel::SetDiskFreeSpaceOverride('D', 5);
  qm::kernel::SetDiskFreeSpaceOverride('C', 1 << 20);
  EXPECT_EQ(RunSetup(), DSETUPERR_SUCCESS);
  qm::kernel::SetDiskFreeSpaceOverride('C', std::nullopt);
  qm::kernel::SetDiskFreeSpaceOverride('D', std::nullopt);
  EXPECT_TRUE(InstalledInSystem("ddraw.dll"));
}

TEST_F(DirectXSetupA, TheMediumsPackageInstallsDirectX7WithoutRestart) {
  const char* source = std::getenv("QUELLMOOR_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "QUELLMOOR_SOURCE_DIR is not set";
  SetInstalledVersion("4.06.02.0436");
  std::string root = qm::kernel::HostToWindowsPath(std::string(source) + "/medium/directx");
  EXPECT_EQ(RunSetup(root.c_str()), DSETUPERR_SUCCESS);
  EXPECT_EQ(InstalledVersionAndRevision(), VersionAndRevision(0x00040007u, 700u));
  for (const char* file : {"ddraw.dll", "dsound.dll", "dinput.dll", "d3dim.dll"}) EXPECT_TRUE(InstalledInSystem(file));
}
