#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "install/settings/InstallationRecord.h"
#include "install/settings/InstallationSettings.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Automation.h"
#include "support/ScreenTest.h"

namespace {

namespace automation = qm::ui::automation;

std::string UserStorePath() { return qm::kernel::PrefixRoot() + "/user.reg"; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The value as the registry answers it, with its type and data size checked
// against a string with one terminating zero.
std::string QueryRecordValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char buffer[512] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "<missing>";
  EXPECT_EQ(type, REG_SZ) << name;
  EXPECT_EQ(size, std::string(buffer).size() + 1) << name;
  return buffer;
}

void SetRecordValue(const char* name, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// On a screen: a store that cannot be read is reported in a message box.
class InstallationRecordTest : public qm::test::ScreenTest {
 protected:
  InstallationRecordTest() : ScreenTest({800, 600}) {}
  void TearDown() override {
    qm::kernel::SetModuleFileNameOverride("");
    InstallationSettings::Reset();
    ScreenTest::TearDown();
  }
  static InstallationSettings& StartedAs(const std::string& exePath) {
    qm::kernel::SetModuleFileNameOverride(exePath);
    InstallationSettings::Reset();
    return Settings();
  }
};

TEST_F(InstallationRecordTest, RecordFollowsTheSettingsAndDropsOnlyOneBackslash) {
  struct Row {
    const char* exePath;
    const char* destination;
    const char* type;
    const char* expectedSource;
  };
  const Row rows[] = {
      {"E:\\setup.exe", "C:\\Games\\Quellmoor", "full", "E:"},
      {"D:\\dist\\setup.exe", "D:\\Program Files\\Quell moor", "compact", "D:\\dist"},
      {"C:\\cd1\\setup", "C:\\G", "medium", "C:\\cd1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.exePath);
    InstallationSettings& settings = StartedAs(row.exePath);
    settings.destinationPath = row.destination;
    settings.installationType = row.type;
    RecordInstallation();
    EXPECT_EQ(QueryRecordValue("sourcePath"), row.expectedSource);
    EXPECT_EQ(QueryRecordValue("destinationPath"), row.destination);
    EXPECT_EQ(QueryRecordValue("installationType"), row.type);
  }
}

TEST_F(InstallationRecordTest, OtherValuesUnderTheKeyStay) {
  SetRecordValue("playerName", "Ash");
  SetRecordValue("installationType", "compact");
  StartedAs("E:\\setup.exe");
  RecordInstallation();
  EXPECT_EQ(QueryRecordValue("playerName"), "Ash");
  EXPECT_EQ(QueryRecordValue("installationType"), "full");
}

TEST_F(InstallationRecordTest, LongValuesAreWrittenWhole) {
  InstallationRecord record;
  record.destinationPath = "C:\\" + std::string(300, 'q');
  record.sourcePath = "E:";
  record.installationType = "full";
  EXPECT_TRUE(record.WriteToRegistry());
  EXPECT_EQ(QueryRecordValue("destinationPath"), record.destinationPath);
}

TEST_F(InstallationRecordTest, UnreadableStoreShowsOpenKeyErrorAndIsLeftAsItWas) {
  InstallationRecord record{"E:", "C:\\Games\\Quellmoor", "full"};
  RecordInstallation();  // creates the store
  const std::string broken = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\r\n\"x\"=dword:zz\r\n";
  std::ofstream(UserStorePath(), std::ios::binary) << broken;

  automation::Driver driver;
  int boxes = 0;
  driver.Wait("Error")
      .Do("look at the box",
          [&] {
            ++boxes;
            EXPECT_NE(automation::FindControl(automation::Text("open key")), nullptr);
          })
      .Click(automation::Text("OK"));
  EXPECT_FALSE(record.WriteToRegistry());
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(driver.StepsLeft(), 0u);
  EXPECT_EQ(ReadText(UserStorePath()), broken);
}

}  // namespace
