// Walking the wizard's pages: order, button labels and states, and the
// choices the pages keep when the user goes back and forth.
#include <algorithm>
#include <string>
#include <vector>

#include "WizardTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class PageFlowTest : public WizardTest {
 protected:
  std::string PageCaption() const {
    char text[128] = {};
    GetWindowTextA(sheet->GetCurrentPageHandle(), text, sizeof text);
    return text;
  }
  void Next() { driver.Click(Id(ID_WIZNEXT)); }
  void Back() { driver.Click(Id(ID_WIZBACK)); }
};

TEST_F(PageFlowTest, PagesComeInOrderUnderTheSheetsCaption) {
  OpenWizard();
  const std::vector<std::string> captions = {"Install", "Installation Type", "Destination directory",
                                             "Start Installation"};
  for (int page = 0; page < 4; ++page) {
    driver.Do("check page", [this, page, &captions] {
      SCOPED_TRACE("page " + std::to_string(page + 1));
      EXPECT_EQ(ActivePage(), page);
      EXPECT_EQ(PageCaption(), captions[static_cast<std::size_t>(page)]);
      EXPECT_EQ(sheet->GetWindowText(), "Install");
      // The page being left is hidden before the next one shows.
      for (int other = 0; other < sheet->GetPageCount(); ++other) {
        HWND window = sheet->GetPage(other)->Handle();
        if (other != page && window) {
          EXPECT_FALSE(IsWindowVisible(window)) << "page " << other + 1;
        }
      }
    });
    if (page < 3) Next();
  }
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
}

TEST_F(PageFlowTest, WelcomePageLabelsTheButtons) {
  OpenWizard();
  driver.Expect(Id(ID_WIZBACK), "&Back").Expect(Id(ID_WIZNEXT), "&Next").Expect(Id(IDCANCEL), "&Cancel")
      .Expect(Id(IDHELP), "Help");
  // The later pages keep the labels.
  Next();
  Next();
  Next();
  driver.Expect(Id(ID_WIZBACK), "&Back").Expect(Id(ID_WIZNEXT), "&Next").Expect(Id(IDCANCEL), "&Cancel");
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
}

TEST_F(PageFlowTest, LabelsFallBackToBuiltInTextsWithoutTheirStrings) {
  for (UINT id : {IDS_BACK, IDS_NEXT, IDS_CANCEL, IDS_HELP}) qm::ui::RegisterStringResource(id, "");
  OpenWizard();
  driver.Expect(Id(ID_WIZBACK), "Back").Expect(Id(ID_WIZNEXT), "Next").Expect(Id(IDCANCEL), "Cancel")
      .Expect(Id(IDHELP), "Help");
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
}

TEST_F(PageFlowTest, ButtonStatesFollowThePage) {
  OpenWizard();
  struct Row {
    const char* where;
    bool back;
    bool next;
  };
  auto expect = [this](Row row) {
    driver.Do(row.where, [row] {
      SCOPED_TRACE(row.where);
      EXPECT_EQ(IsControlEnabled(Id(ID_WIZBACK)), row.back);
      EXPECT_EQ(IsControlEnabled(Id(ID_WIZNEXT)), row.next);
      EXPECT_TRUE(IsControlEnabled(Id(IDCANCEL)));
      EXPECT_FALSE(IsControlVisible(Id(ID_WIZFINISH)));
    });
  };
  expect({"welcome", false, true});
  driver.ExpectEnabled(Id(IDHELP), false);
  Next();
  expect({"type", true, true});
  Back();
  expect({"welcome after Back", false, true});
  Next();
  Next();
  expect({"destination", true, true});
  // The start page disables Help itself, whatever the earlier pages left.
  driver.Do("enable Help", [this] { EnableWindow(GetDlgItem(SheetWindow(), IDHELP), TRUE); });
  Next();
  expect({"start", true, true});
  driver.ExpectEnabled(Id(IDHELP), false);
  Back();
  expect({"destination after Back", true, true});
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
}

TEST_F(PageFlowTest, OnlyFullCanBeChosenAndItStaysSelected) {
  OpenWizard();
  Next();
  driver.ExpectEnabled(Id(IDC_COMPACT), false)
      .ExpectEnabled(Id(IDC_MEDIUM), false)
      .ExpectChecked(Id(IDC_FULL), true)
      .ExpectChecked(Id(IDC_COMPACT), false)
      .ExpectChecked(Id(IDC_MEDIUM), false)
      .Click(Id(IDC_FULL))
      .Do("type stored", [] { EXPECT_EQ(Settings().installationType, "full"); });
  Back();
  Next();
  driver.ExpectChecked(Id(IDC_FULL), true);
  Next();
  Back();
  driver.ExpectChecked(Id(IDC_FULL), true);
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
  EXPECT_EQ(Settings().installationType, "full");
}

TEST_F(PageFlowTest, EachTypeButtonStoresItsTypeAtOnce) {
  OpenWizard();
  ASSERT_TRUE(sheet->SetActivePage(1));
  HWND page = sheet->GetCurrentPageHandle();
  const struct {
    int id;
    const char* type;
  } rows[] = {{IDC_COMPACT, "compact"}, {IDC_MEDIUM, "medium"}, {IDC_FULL, "full"}, {IDC_MEDIUM, "medium"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(row.id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, row.id)));
    EXPECT_EQ(Settings().installationType, row.type);
  }
}

TEST_F(PageFlowTest, TabOnTheDestinationPageSkipsBrowse) {
  OpenWizard();
  Next();
  Next();
  std::vector<int> focused;
  for (int i = 0; i < 8; ++i)
    driver.Key("Tab").Do("note focus", [&focused] { focused.push_back(GetDlgCtrlID(GetFocus())); });
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
  EXPECT_NE(std::find(focused.begin(), focused.end(), IDC_DESTINATION_PATH), focused.end());
  EXPECT_EQ(std::find(focused.begin(), focused.end(), IDC_BROWSE), focused.end());
}

TEST_F(PageFlowTest, DestinationPathCannotBeTypedAndSurvivesLeavingThePage) {
  OpenWizard();
  Next();
  Next();
  driver.Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor")
      .Do("focus the path", [] { SetFocus(FindControl(Id(IDC_DESTINATION_PATH))); })
      .Type("X")
      .Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  Next();
  Back();
  driver.Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  Back();
  Next();
  driver.Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  EndRun();
  EXPECT_EQ(Run(), kTestEnded);
  EXPECT_EQ(Settings().destinationPath, "C:\\Games\\Quellmoor");
}

}  // namespace
}  // namespace qm::test
