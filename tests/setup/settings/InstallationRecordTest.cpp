#include <gtest/gtest.h>

#include <fstream>

#include "install/settings/InstallationRecord.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/Automation.h"
#include "support/HostFiles.h"
#include "support/ScreenTest.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/RegistryRecords.h"

namespace {

namespace automation = qm::ui::automation;
using qm::test::QueryRecordValue;
using qm::test::StartedAs;

std::string UserStorePath() { return qm::kernel::PrefixRoot() + "/user.reg"; }

// On a screen: a store that cannot be read is reported in a message box.
class InstallationRecordTest : public qm::test::ScreenTest {
 protected:
  InstallationRecordTest() : ScreenTest({800, 600}) {}
  void TearDown() override {
    qm::test::ForgetStart();
    ScreenTest::TearDown();
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
  qm::test::SetRecordValue("playerName", "Ash");
  qm::test::SetRecordValue("installationType", "compact");
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
  EXPECT_EQ(qm::test::ReadHostFile(UserStorePath()), broken);
}

}  // namespace
