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
  void Next() { driver.Click(Id(ID_WIZNEXT)); }
  void Back() { driver.Click(Id(ID_WIZBACK)); }
  void ExpectLabels(const char* back, const char* next, const char* cancel, const char* help) {
    driver.Expect(Id(ID_WIZBACK), back).Expect(Id(ID_WIZNEXT), next).Expect(Id(IDCANCEL), cancel)
        .Expect(Id(IDHELP), help);
  }
};

TEST_F(PageFlowTest, PagesInOrderWithTheirLabelsAndButtonStates) {
  OpenWizard();
  struct Row {
    int page;
    const char* caption;
    bool back;
    bool help;  // only checked where a page sets it
  };
  auto expect = [this](Row row) {
    driver.Do(row.caption, [this, row] {
      SCOPED_TRACE(std::string(row.caption) + " (page " + std::to_string(row.page + 1) + ")");
      EXPECT_EQ(ActivePage(), row.page);
      EXPECT_EQ(CaptionOf(sheet->GetCurrentPageHandle()), row.caption);
      EXPECT_EQ(sheet->GetWindowText(), "Install");
      EXPECT_EQ(IsControlEnabled(Id(ID_WIZBACK)), row.back);
      EXPECT_TRUE(IsControlEnabled(Id(ID_WIZNEXT)));
      EXPECT_TRUE(IsControlEnabled(Id(IDCANCEL)));
      EXPECT_FALSE(IsControlVisible(Id(ID_WIZFINISH)));
      if (!row.help) {
        EXPECT_FALSE(IsControlEnabled(Id(IDHELP)));
      }
      for (int other = 0; other < sheet->GetPageCount(); ++other) {
        HWND window = sheet->GetPage(other)->Handle();
        if (other != row.page && window) {
          EXPECT_FALSE(IsWindowVisible(window)) << "page " << other + 1;
        }
      }
    });
  };
  expect({0, "Install", false, false});
  ExpectLabels("&Back", "&Next", "&Cancel", "Help");
  Next();
  expect({1, "Installation Type", true, true});
  Back();
  expect({0, "Install", false, false});
  Next();
  Next();
  expect({2, "Destination directory", true, true});
  // The start page disables Help itself, whatever the pages before it left.
  driver.Do("enable Help", [this] { EnableWindow(GetDlgItem(SheetWindow(), IDHELP), TRUE); });
  Next();
  expect({3, "Start Installation", true, false});
  ExpectLabels("&Back", "&Next", "&Cancel", "Help");
  Back();
  expect({2, "Destination directory", true, true});
  RunToTheEnd();
}

TEST_F(PageFlowTest, LabelsFallBackToBuiltInTextsWithoutTheirStrings) {
  for (UINT id : {IDS_BACK, IDS_NEXT, IDS_CANCEL, IDS_HELP}) qm::ui::RegisterStringResource(id, "");
  OpenWizard();
  ExpectLabels("Back", "Next", "Cancel", "Help");
  RunToTheEnd();
}

TEST_F(PageFlowTest, OnlyFullCanBeChosenAndItStaysSelected) {
  OpenWizard();
  Next();
  driver.ExpectEnabled(Id(IDC_COMPACT), false)
      .ExpectEnabled(Id(IDC_MEDIUM), false)
      .ExpectChecked(Id(IDC_COMPACT), false)
      .ExpectChecked(Id(IDC_MEDIUM), false)
      .ExpectChecked(Id(IDC_FULL), true)
      .Click(Id(IDC_FULL));
  Back();
  Next();
  driver.ExpectChecked(Id(IDC_FULL), true);
  Next();
  Back();
  driver.ExpectChecked(Id(IDC_FULL), true);
  RunToTheEnd();
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

TEST_F(PageFlowTest, DestinationPathIsShownNotTypedAndTabSkipsBrowse) {
  OpenWizard();
  Next();
  Next();
  std::vector<int> focused;
  for (int i = 0; i < 8; ++i)
    driver.Key("Tab").Do("note focus", [&focused] { focused.push_back(GetDlgCtrlID(GetFocus())); });
  driver.Do("focus the path", [] { SetFocus(FindControl(Id(IDC_DESTINATION_PATH))); }).Type("X");
  Next();
  Back();
  Back();
  Next();
  driver.Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor");
  RunToTheEnd();
  EXPECT_NE(std::find(focused.begin(), focused.end(), IDC_DESTINATION_PATH), focused.end());
  EXPECT_EQ(std::find(focused.begin(), focused.end(), IDC_BROWSE), focused.end());
  EXPECT_EQ(Settings().destinationPath, "C:\\Games\\Quellmoor");
}

}  // namespace
}  // namespace qm::test
