// Browse... on the destination page: the folder chooser opens on the shown
// path, and only a path it accepts becomes the destination.
#include <string>

#include "WizardTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/CommCtrl.h"
#include "support/TempDir.h"
#include "support/WindowsFiles.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class BrowseTest : public WizardTest {
 protected:
  void OpenOnDestinationPage() {
    OpenWizard();
    ASSERT_TRUE(sheet->SetActivePage(2));
  }
  std::string PageText(int id) const { return ControlText(Id(id), SheetWindow()); }
  // Drive D: on a host folder of its own, with a Games folder on it.
  void MapDriveD() {
    qm::kernel::MapDrive('D', driveD.Path());
    MakeWindowsDirectory("D:\\Games");
  }
  // Browse... and the chooser that it opens.
  Driver& Browse() { return driver.Click(Id(IDC_BROWSE)).Wait("Choose Directory"); }
  TempDir driveD{"qm-browse-d"};
};

TEST_F(BrowseTest, OpensTheChooserOnTheShownPath) {
  MakeWindowsDirectory("C:\\Games\\Quellmoor");
  OpenOnDestinationPage();
  Browse()
      .ExpectSelected(Id(IDC_FOLDER_TREE), {"My Computer", "(C:)", "Games", "Quellmoor"})
      .ExpectEnabled(Id(IDOK), true)
      .Click(Id(IDCANCEL))
      .Wait("Install");
  RunToTheEnd();
}

TEST_F(BrowseTest, CancelInTheChooserKeepsThePathTheSettingsAndTheSpaceTexts) {
  MakeWindowsDirectory("C:\\Games\\Quellmoor");
  MapDriveD();
  OpenOnDestinationPage();
  const std::string label = PageText(IDC_AVAILABLE_LABEL);
  Browse()
      .SelectItem(Id(IDC_FOLDER_TREE), {"My Computer", "(D:)", "Games"})
      .Click(Id(IDCANCEL))
      .Wait("Install");
  RunToTheEnd();
  EXPECT_EQ(PageText(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  EXPECT_EQ(Settings().destinationPath, "C:\\Games\\Quellmoor");
  EXPECT_EQ(PageText(IDC_AVAILABLE_LABEL), label);
}

TEST_F(BrowseTest, AFolderChosenInTheTreeBecomesTheDestination) {
  MapDriveD();
  SetFreeKb('D', 2048);
  OpenOnDestinationPage();
  Browse()
      .SelectItem(Id(IDC_FOLDER_TREE), {"My Computer", "(D:)", "Games"})
      .ExpectEnabled(Id(IDOK), true)
      .ExpectEnabled(Id(IDC_GO), true)
      .Click(Id(IDOK))
      .Wait("Install");
  RunToTheEnd();
  EXPECT_EQ(PageText(IDC_DESTINATION_PATH), "D:\\Games");
  EXPECT_EQ(Settings().destinationPath, "D:\\Games");
  EXPECT_EQ(PageText(IDC_AVAILABLE_LABEL), "Available on D:\\:");
  EXPECT_EQ(PageText(IDC_AVAILABLE_TEXT), "2048 Kb");
  EXPECT_TRUE(sheet->insufficientSpace);
}

}  // namespace
}  // namespace qm::test
