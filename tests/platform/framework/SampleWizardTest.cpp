// The sample wizard driven like a user would drive it, through the
// automation driver, with a picture of every page.
#include <filesystem>
#include <string>

#include "FrameworkTest.h"
#include "SampleWizard.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/DisplayBackend.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;
using namespace qm::test::sample;

// Test processes run without QUELLMOOR_SCREENSHOTS; the pictures go here.
const char kShotFolder[] = "/tmp/quellmoor-sample-wizard";

void SaveSheetPicture(const std::string& name) {
  HWND sheet = FindWindowByCaption(kCaption);
  if (!sheet) throw AutomationError("no sample wizard to take a picture of");
  RECT frame{};
  GetWindowRect(sheet, &frame);
  const qm::ui::Surface& screen = qm::ui::ScreenSurface();
  qm::ui::Surface picture(frame.right - frame.left, frame.bottom - frame.top);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (screen.Contains(frame.left + x, frame.top + y)) picture.At(x, y) = screen.At(frame.left + x, frame.top + y);
  std::filesystem::create_directories(kShotFolder);
  if (!qm::ui::SavePng(picture, std::string(kShotFolder) + "/" + name))
    throw AutomationError("cannot save " + name);
}

class SampleWizardTest : public FrameworkTest {
 protected:
  void TearDown() override {
    delete app.sheet;
    app.sheet = nullptr;
    FrameworkTest::TearDown();
  }
  SampleApplication app;
  Driver driver;
};

TEST_F(SampleWizardTest, UserGoesThroughEveryPageAndFinishes) {
  driver.Wait(kCaption)
      .ExpectEnabled(Id(ID_WIZBACK), false)
      .ExpectEnabled(Id(IDHELP), false)
      .Expect(Id(ID_WIZNEXT), "&Next")
      .Do("picture of the welcome page", [] { SaveSheetPicture("sample-1-welcome.png"); })
      .Click(Text("&Next"))
      .ExpectChecked(Id(kFull), true)
      .ExpectEnabled(Id(kCompact), false)
      .ExpectEnabled(Id(ID_WIZBACK), true)
      .Key("Alt+M")
      .Uncheck(Id(kDesktopLink))
      .Key("Alt+N")
      .Type("Jane")
      .Key("Alt+R")
      .Do("picture of the options page", [] { SaveSheetPicture("sample-2-options.png"); })
      .Click(Id(ID_WIZBACK))
      .ExpectEnabled(Id(ID_WIZBACK), false)
      .Click(Id(ID_WIZNEXT))
      .ExpectChecked(Id(kMedium), true)
      .ExpectChecked(Id(kDesktopLink), false)
      .Expect(Id(kUserName), "Jane")
      .Click(Id(ID_WIZNEXT))
      .Expect(Id(ID_WIZFINISH), "&Finish")
      .ExpectEnabled(Id(IDCANCEL), false)
      .Do("picture of the last page", [] { SaveSheetPicture("sample-3-ready.png"); })
      .Check(Id(kReleaseNotes))
      .Click(Id(ID_WIZFINISH));

  EXPECT_EQ(qm::fw::RunApplication(app), 0);
  EXPECT_EQ(driver.StepsLeft(), 0u);
  const Choices& choices = app.choices;
  EXPECT_TRUE(choices.finished);
  EXPECT_EQ(choices.type, 1);
  EXPECT_TRUE(choices.programGroup);
  EXPECT_FALSE(choices.desktopLink);
  EXPECT_EQ(choices.userName, "Jane");
  EXPECT_EQ(choices.browseClicks, 1);
  EXPECT_TRUE(choices.releaseNotes);
  EXPECT_EQ(choices.exitQuestions, 0);
}

// Group boxes must let clicks through to the controls they frame (the
// destination page's Browse... button stands inside one).
TEST_F(SampleWizardTest, ClicksReachControlsInsideAGroupBox) {
  driver.Wait(kCaption)
      .Click(Id(ID_WIZNEXT))
      .Click(Id(kMedium))
      .ExpectChecked(Id(kMedium), true)
      .Click(Id(kBrowse))
      .Click(Id(IDCANCEL));
  EXPECT_EQ(qm::fw::RunApplication(app), 0);
  EXPECT_EQ(app.choices.browseClicks, 1);
}

TEST_F(SampleWizardTest, KeyboardAloneReachesFinish) {
  driver.Wait(kCaption)
      .Key("Enter")
      .ExpectEnabled(Id(ID_WIZBACK), true)
      .Key("Alt+M")
      .ExpectChecked(Id(kMedium), true)
      .Key("Alt+N")  // the label's access key takes the focus to the name field
      .Type("Kim")
      .Key("Enter")
      .Expect(Id(ID_WIZFINISH), "&Finish")
      .Key("Esc")  // Cancel is no longer available here
      .Key("Alt+R")
      .ExpectChecked(Id(kReleaseNotes), true)
      .Key("Enter");

  EXPECT_EQ(qm::fw::RunApplication(app), 0);
  EXPECT_TRUE(app.choices.finished);
  EXPECT_EQ(app.choices.type, 1);
  EXPECT_EQ(app.choices.userName, "Kim");
  EXPECT_TRUE(app.choices.releaseNotes);
  EXPECT_EQ(app.choices.exitQuestions, 0);
}

TEST_F(SampleWizardTest, CancelOnALaterPageReachesTheFirstPageOnce) {
  for (const char* how : {"click", "Esc"}) {
    SCOPED_TRACE(how);
    SampleApplication run;
    Driver steps;
    steps.Wait(kCaption).Click(Id(ID_WIZNEXT)).Key("Alt+F4");  // the close box does nothing
    if (std::string(how) == "click")
      steps.Click(Id(IDCANCEL));
    else
      steps.Key("Esc");
    EXPECT_EQ(qm::fw::RunApplication(run), 0);
    EXPECT_EQ(run.choices.exitQuestions, 1);
    EXPECT_FALSE(run.choices.finished);
    delete run.sheet;
    run.sheet = nullptr;
  }
}

}  // namespace
}  // namespace qm::test
