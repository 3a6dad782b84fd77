// Leaving the wizard: Cancel on any page asks once whether to resume or to
// exit; the close box and Alt+F4 do nothing.
#include <string>

#include "WizardTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "install/wizard/PrivateMessages.h"
#include "platform/ui/CommCtrl.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class CancelTest : public WizardTest {
 protected:
  void GoToPage(int page) {
    for (int i = 0; i < page; ++i) driver.Click(Id(ID_WIZNEXT));
  }
  // The question is up, exactly once, and the wizard takes no input under it.
  void ExpectOneQuestion() {
    driver.Do("one question", [this] {
      EXPECT_EQ(OpenResumeExitDialogs(), 1) << DescribeOpenWindows();
      EXPECT_FALSE(IsWindowEnabled(SheetWindow()));
      EXPECT_FALSE(IsWindowEnabled(owner->Handle()));
      EXPECT_EQ(owner->Count(WM_SHEET_CANCEL), 1);
    });
  }
};

class CancelOnEveryPage : public CancelTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelOnEveryPage, AsksOnceAndResumeKeepsThePageAndEveryChoice) {
  const int page = GetParam();
  SetFreeKb('C', 8192);
  OpenWizard();
  GoToPage(page);
  driver.Click(Id(IDCANCEL));
  ExpectOneQuestion();
  driver.Click(Text("&Resume")).Do("resumed", [this, page] {
    EXPECT_EQ(OpenResumeExitDialogs(), 0) << "a second question came up";
    EXPECT_TRUE(sheet->IsWindowVisible());
    EXPECT_TRUE(IsWindowEnabled(SheetWindow()));
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_EQ(GetActiveWindow(), SheetWindow()) << "the wizard has the user's attention again";
    EXPECT_EQ(ActivePage(), page);
  });
  RunToTheEnd();
  EXPECT_EQ(owner->Count(WM_SHEET_CANCEL), 1);
  EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelOnEveryPage, ::testing::Values(0, 1, 2, 3));

TEST_F(CancelTest, ResumeOnTheDestinationPageKeepsPathTypeAndSpace) {
  SetFreeKb('C', 8192);
  SetRequiredKb(4096);
  OpenWizard();
  GoToPage(2);
  driver.Key("Esc");
  ExpectOneQuestion();
  // Coming back from the question is a return to the wizard: the free space
  // is read again.
  driver.Do("free more space", [] { SetFreeKb('C', 16384); })
      .Key("Enter")
      .Expect(Id(IDC_DESTINATION_PATH), "C:\\Games\\Quellmoor")
      .Expect(Id(IDC_AVAILABLE_LABEL), "Available on C:\\:")
      .Expect(Id(IDC_AVAILABLE_TEXT), "16384 Kb")
      .Expect(Id(IDC_REQUIRED_TEXT), "4096 Kb")
      .Click(Id(ID_WIZBACK))
      .ExpectChecked(Id(IDC_FULL), true)
      .Click(Id(ID_WIZNEXT))
      .Click(Id(ID_WIZNEXT))
      .Click(Id(ID_WIZNEXT));
  RunToTheEnd();
  EXPECT_EQ(Settings().destinationPath, "C:\\Games\\Quellmoor");
  EXPECT_EQ(Settings().installationType, "full");
  EXPECT_FALSE(sheet->insufficientSpace);
  EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 1) << "the wizard still starts the installation after Resume";
}

TEST_F(CancelTest, ExitSetupEndsTheProgramWithoutInstalling) {
  struct Row {
    const char* name;
    const char* cancel;  // on the sheet: a button or a key
    const char* answer;  // in the question
  };
  const Row rows[] = {
      {"Cancel, Exit Setup", "click", "click"},
      {"Cancel, Esc", "click", "Esc"},
      {"Esc, Alt+F4 on the question", "Esc", "Alt+F4"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    OpenWizard();
    GoToPage(1);
    if (std::string(row.cancel) == "click")
      driver.Click(Id(IDCANCEL));
    else
      driver.Key(row.cancel);
    ExpectOneQuestion();
    if (std::string(row.answer) == "click")
      driver.Click(Text("E&xit Setup"));
    else
      driver.Key(row.answer);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(driver.StepsLeft(), 0u);
    EXPECT_EQ(OpenResumeExitDialogs(), 0);
    EXPECT_EQ(owner->Count(WM_SHEET_CANCEL), 1);
    EXPECT_EQ(owner->Count(WM_START_INSTALLATION), 0);
    sheet.reset();
    owner.reset();
  }
}

TEST_F(CancelTest, CloseBoxAndAltF4OnTheSheetDoNothing) {
  OpenWizard();
  GoToPage(2);
  driver.Key("Alt+F4")
      .Do("system menu Close", [this] { SendMessageA(SheetWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); })
      .Do("close box", [this] {
        RECT rect;
        GetWindowRect(SheetWindow(), &rect);
        // The close box sits at the right end of the caption bar.
        ClickAt({rect.right - 14, rect.top + 11});
      })
      .Do("still open", [this] {
        EXPECT_EQ(OpenResumeExitDialogs(), 0);
        EXPECT_TRUE(sheet->IsWindowVisible());
        EXPECT_EQ(ActivePage(), 2);
      });
  RunToTheEnd();
  EXPECT_TRUE(owner->received.empty());
}

}  // namespace
}  // namespace qm::test
