// The installation complete page and what Finish opens.
#include <cstdlib>

#include "CompletionTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/kernel/SystemInfo.h"

namespace qm::test {
namespace {

using automation::Id;
using automation::Text;

class CompletePageTest : public CompletionTest {};

TEST_F(CompletePageTest, OnlyFinishIsLeftAndTheWebBoxIsGreyed) {
  automation::Driver driver;
  ToCompletePage(driver)
      .Expect(Id(ID_WIZFINISH), "&Finish")
      .ExpectEnabled(Id(ID_WIZFINISH), true)
      .ExpectEnabled(Id(IDCANCEL), false)
      .ExpectEnabled(Id(IDHELP), false)
      .Do("Back and Next hidden", [] {
        EXPECT_FALSE(automation::IsControlVisible(Id(ID_WIZBACK)));
        EXPECT_FALSE(automation::IsControlVisible(Id(ID_WIZNEXT)));
      })
      .Expect(Id(IDC_RELEASE_NOTES), "View Quellmoor Release Notes")
      .ExpectChecked(Id(IDC_RELEASE_NOTES), false)
      .ExpectEnabled(Id(IDC_RELEASE_NOTES), true)
      .Expect(Id(IDC_WEB_PAGE), "Visit Quellmoor On Web")
      .ExpectEnabled(Id(IDC_WEB_PAGE), false)
      .Key("Esc")  // Cancel is gone: Esc does nothing
      .Do("no question", [] { EXPECT_EQ(CountWindowsWith("E&xit Setup"), 0); })
      .Click(Id(ID_WIZFINISH));
  EXPECT_EQ(RunCompletion(driver), 0);
  EXPECT_FALSE(Settings().viewReleaseNotes);
  EXPECT_FALSE(Settings().visitWebPage);
  EXPECT_TRUE(launched.empty());
}

TEST_F(CompletePageTest, ReleaseNotesOpenInTheTextEditorWithTheReadmeUnquoted) {
  char windows[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(windows, sizeof windows);
  for (const char* destination : {"C:\\Games\\Quellmoor", "C:\\Program Files\\Quell moor"}) {
    SCOPED_TRACE(destination);
    launched.clear();
    StartedAs("E:\\setup.exe");
    Settings().destinationPath = destination;
    MakeInstalledGame();
    automation::Driver driver;
    ToCompletePage(driver)
        .Check(Id(IDC_RELEASE_NOTES))
        .Do("flag", [] { EXPECT_TRUE(Settings().viewReleaseNotes); })
        .Click(Id(ID_WIZFINISH));
    EXPECT_EQ(RunCompletion(driver), 0);
    EXPECT_EQ(launched, (std::vector<std::string>{std::string(windows) + "\\notepad.exe " + destination +
                                                  "\\doc\\readme.txt"}));
  }
}

// The web box is disabled in the page's template; with the flag set by other
// means the address opens after the release notes.
TEST_F(CompletePageTest, WebPageOpensAfterTheReleaseNotes) {
  MakeInstalledGame();
  Settings().viewReleaseNotes = true;
  Settings().visitWebPage = true;
  FinishWithDefaults();
  ASSERT_EQ(launched.size(), 2u);
  EXPECT_NE(launched[0].find("\\notepad.exe "), std::string::npos);
  EXPECT_EQ(launched[1], "https://quellmoor.example/");
}

// Pictures of the three pages for a person to look at, written where
// QUELLMOOR_TEST_SHOTS points.
TEST_F(CompletePageTest, Screenshots) {
  const char* folder = std::getenv("QUELLMOOR_TEST_SHOTS");
  if (!folder) GTEST_SKIP() << "QUELLMOOR_TEST_SHOTS is not set";
  RecordDirectXVersion("4.06.02.0436");
  StartedAs("E:\\setup.exe");
  const std::string at = std::string(folder) + "/";
  automation::Driver driver;
  driver.Wait("Install")
      .Screenshot(at + "links.png")
      .Click(Id(ID_WIZNEXT))
      .Screenshot(at + "directx.png")
      .Click(Id(IDC_INSTALL_DIRECTX))
      .Click(Id(ID_WIZNEXT))
      .Check(Id(IDC_RELEASE_NOTES))
      .Screenshot(at + "complete.png")
      .Click(Id(ID_WIZFINISH));
  EXPECT_EQ(RunCompletion(driver), 0);
}

}  // namespace
}  // namespace qm::test
