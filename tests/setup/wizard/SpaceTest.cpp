// The destination page's space display, the insufficientSpace flag it keeps,
// and the start page's Next, which starts the installation or first asks.
#include <string>

#include "WizardTest.h"
#include "install/resources/ResourceIds.h"
#include "install/wizard/PrivateMessages.h"
#include "platform/ui/CommCtrl.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

// The host's block size decides the cluster size: free space in steps of
// 64 KB comes out exact on every host.
constexpr std::uint32_t kRequiredKb = 64 * 64;

class SpaceTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    SetRequiredKb(kRequiredKb);
  }
  // Makes the destination page, as the user's first visit does.
  void OpenOnDestinationPage() {
    OpenWizard();
    ASSERT_TRUE(sheet->SetActivePage(2));
  }
  std::string Text(int id) const { return ControlText(Id(id), SheetWindow()); }
  void ToStartPage() { driver.Click(Id(ID_WIZNEXT)).Click(Id(ID_WIZNEXT)).Click(Id(ID_WIZNEXT)); }
  void ReturnToTheInstaller() {
    SetActiveWindow(owner->Handle());
    SetActiveWindow(SheetWindow());
  }
};

TEST_F(SpaceTest, TheDriveIsTheFirstCharacterOfTheShownPath) {
  SetFreeKb('C', 1048576);
  OpenOnDestinationPage();
  EXPECT_EQ(Text(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  EXPECT_EQ(Text(IDC_REQUIRED_TEXT), "4096 Kb");
  const struct {
    const char* path;
    const char* label;
    const char* available;
    bool insufficient;
  } rows[] = {
      {"C:\\Games\\Quellmoor", "Available on C:\\:", "1048576 Kb", false},
      {"c:\\games", "Available on c:\\:", "1048576 Kb", false},
      {"", "Available on c:\\:", "1048576 Kb", false},
      // A drive without a medium: nothing available.
      {"Q:\\Games", "Available on Q:\\:", "0 Kb", true},
      {"\\\\server\\share", "Available on \\:\\:", "0 Kb", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("path \"") + row.path + "\"");
    sheet->destinationPage.ShowPath(row.path);
    sheet->destinationPage.UpdateSpaceInfo();
    EXPECT_EQ(Text(IDC_AVAILABLE_LABEL), row.label);
    EXPECT_EQ(Text(IDC_AVAILABLE_TEXT), row.available);
    EXPECT_EQ(sheet->destinationPage.path, row.path);
    EXPECT_EQ(sheet->insufficientSpace, row.insufficient);
  }
}

TEST_F(SpaceTest, InsufficientWhenFreeSpaceIsBelowTheRequiredSize) {
  OpenOnDestinationPage();
  const struct {
    const char* name;
    std::uint64_t freeKb;
    std::uint32_t requiredKb;
    bool insufficient;
    const char* requiredText;
  } rows[] = {
      {"below", kRequiredKb - 64, kRequiredKb, true, "4096 Kb"},
      {"equal", kRequiredKb, kRequiredKb, false, "4096 Kb"},
      {"above", kRequiredKb + 64, kRequiredKb, false, "4096 Kb"},
      {"nothing required", 0, 0, false, "0 Kb"},
      // Sizes compare as unsigned numbers: a required size past 2^31 KB is
      // more than any drive can report, though it shows as the signed
      // number the configuration summed.
      {"huge requirement", 1048576, 0x80000000u, true, "-2147483648 Kb"},
      {"largest signed requirement", 1048576, 0x7FFFFFFFu, true, "2147483647 Kb"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetFreeKb('C', row.freeKb);
    SetRequiredKb(row.requiredKb);
    sheet->destinationPage.UpdateSpaceInfo();
    EXPECT_EQ(sheet->insufficientSpace, row.insufficient);
    EXPECT_EQ(Text(IDC_AVAILABLE_TEXT), std::to_string(row.freeKb) + " Kb");
    EXPECT_EQ(Text(IDC_REQUIRED_TEXT), row.requiredText);
  }
}

// install.cfg "-100 db" sums to the bit pattern of -100 (the configuration
// tests show the sum): shown as the negative number, yet more than any free
// space in the unsigned comparison.
TEST_F(SpaceTest, NegativeRequiredSizeShowsSignedNotAsItsBitPattern) {
  SetRequiredKb(static_cast<std::uint32_t>(-100));
  OpenOnDestinationPage();
  EXPECT_EQ(Text(IDC_REQUIRED_TEXT), "-100 Kb");
  EXPECT_TRUE(sheet->insufficientSpace) << "the comparison stays unsigned";
}

TEST_F(SpaceTest, NothingIsComputedBeforeTheDestinationPageExists) {
  SetFreeKb('C', 0);
  OpenWizard();
  sheet->destinationPage.UpdateSpaceInfo();
  ReturnToTheInstaller();
  EXPECT_FALSE(sheet->insufficientSpace);
  EXPECT_EQ(sheet->destinationPage.availableText, "");
}

TEST_F(SpaceTest, ReturningToTheInstallerRereadsTheFreeSpace) {
  SetFreeKb('C', kRequiredKb - 64);
  OpenOnDestinationPage();
  ASSERT_TRUE(sheet->SetActivePage(3));
  EXPECT_TRUE(sheet->insufficientSpace);

  // Switching away changes nothing, even when space was freed meanwhile.
  SetFreeKb('C', kRequiredKb);
  SetActiveWindow(owner->Handle());
  EXPECT_TRUE(sheet->insufficientSpace);
  EXPECT_EQ(Text(IDC_AVAILABLE_TEXT), "4032 Kb");
  // A click on the sheet brings the user back.
  driver.Do("click the sheet", [this] {
    RECT rect;
    GetWindowRect(SheetWindow(), &rect);
    ClickAt({rect.left + 40, rect.top + 10});
  });
  driver.Do("space seen", [this] {
    EXPECT_EQ(GetActiveWindow(), SheetWindow());
    EXPECT_FALSE(sheet->insufficientSpace);
    EXPECT_EQ(Text(IDC_AVAILABLE_TEXT), "4096 Kb");
  });
  // Next asks nothing now.
  driver.Click(Id(ID_WIZNEXT));
  RunToTheEnd();
  EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 1);
}

TEST_F(SpaceTest, EnoughSpaceStartsTheInstallationWithoutAQuestion) {
  SetFreeKb('C', kRequiredKb);
  OpenWizard();
  ToStartPage();
  driver.Click(Id(ID_WIZNEXT)).Do("no question", [] { EXPECT_EQ(FindWindowByCaption("Warning"), nullptr); });
  RunToTheEnd();
  EXPECT_FALSE(sheet->IsWindowVisible());
  ASSERT_EQ(owner->received.size(), 1u);
  const OwnerWindow::Received& start = owner->received.front();
  EXPECT_EQ(start.message, WM_START_INSTALLATION);
  EXPECT_EQ(start.wParam, 0u);
  EXPECT_EQ(start.lParam, 0);
  EXPECT_FALSE(start.sheetVisible) << "the installation began while the wizard was still shown";
}

TEST_F(SpaceTest, StartingIsPostedSoTheInstallationRunsAfterTheHandler) {
  OpenWizard();
  sheet->StartInstallation();
  EXPECT_FALSE(sheet->IsWindowVisible());
  EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 0);
  RunToTheEnd();
  EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 1);
}

TEST_F(SpaceTest, ShortSpaceIsAskedNoStaysAndYesStartsAnyway) {
  SetFreeKb('C', kRequiredKb - 64);
  OpenWizard();
  ToStartPage();
  driver.Click(Id(ID_WIZNEXT)).Wait("Warning").Do("the question", [this] {
    HWND box = GetActiveWindow();
    ASSERT_EQ(FindWindowByCaption("Warning"), box) << DescribeOpenWindows();
    EXPECT_EQ(GetParent(box), SheetWindow()) << "the question belongs to the wizard";
    EXPECT_FALSE(IsWindowEnabled(SheetWindow()));
    const std::string text = "There is ensuficient disk space.\nInstallation may not be completed.\nContinue?";
    EXPECT_NE(DescribeOpenWindows().find(text), std::string::npos) << DescribeOpenWindows();
    EXPECT_TRUE(IsControlVisible(Id(IDYES), box));
    EXPECT_TRUE(IsControlVisible(Id(IDNO), box));
  });
  driver.Click(Id(IDNO)).Do("still on the start page", [this] {
    EXPECT_TRUE(sheet->IsWindowVisible());
    EXPECT_EQ(ActivePage(), 3);
    EXPECT_TRUE(IsControlEnabled(Id(ID_WIZBACK), SheetWindow()));
    EXPECT_TRUE(IsControlEnabled(Id(ID_WIZNEXT), SheetWindow()));
    EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 0);
  });
  driver.Click(Id(ID_WIZNEXT)).Wait("Warning").Click(Id(IDYES));
  RunToTheEnd();
  EXPECT_FALSE(sheet->IsWindowVisible());
  ASSERT_EQ(owner->Count(WM_START_INSTALLATION), 1);
  EXPECT_FALSE(owner->received.front().sheetVisible);
}

}  // namespace
}  // namespace qm::test
