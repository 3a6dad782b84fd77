// The DirectX page: its text and tick follow the probe on every visit, and
// Next runs the runtime setup only with the box ticked.
#include "CompletionTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/directx/DirectXSetup.h"

namespace qm::test {
namespace {

using automation::Id;
using automation::Text;

constexpr char kPackage7[] = "Version=4.07.00.0700\nFile=ddraw.dll\n";

// The DirectX generation the setup library reports; 0 when it finds none.
int InstalledGeneration() {
  DWORD version = 0;
  return DirectXSetupGetVersion(&version, nullptr) ? static_cast<int>(version & 0xFFFF) : 0;
}

class DirectXPageTest : public CompletionTest {
 protected:
  void ProbeWith(const char* version) {
    RecordDirectXVersion(version);
    StartedAs("E:\\setup.exe");
  }
};

TEST_F(DirectXPageTest, TextAndTickFollowTheProbeOnEveryVisit) {
  struct Row {
    const char* name;
    const char* version;
    bool needed;
  };
  const Row rows[] = {{"DirectX 9", "4.09.00.0904", false},
                      {"DirectX 7", "4.07.00.0700", false},
                      {"DirectX 6.1", "4.06.02.0436", true},
                      {"probe fails", nullptr, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProbeWith(row.version);
    automation::Driver driver;
    auto expectPage = [&] {
      driver.ExpectChecked(Id(IDC_INSTALL_DIRECTX), row.needed)
          .Do("texts", [&] {
            EXPECT_EQ(automation::IsControlVisible(Id(IDC_DIRECTX_NEEDED)), row.needed);
            EXPECT_EQ(automation::IsControlVisible(Id(IDC_DIRECTX_PRESENT)), !row.needed);
          })
          .ExpectEnabled(Id(ID_WIZBACK), true)
          .ExpectEnabled(Id(ID_WIZNEXT), true);
    };
    driver.Wait("Install").Click(Id(ID_WIZNEXT));
    expectPage();
    // A changed tick does not survive going Back and returning.
    driver.Click(Id(IDC_INSTALL_DIRECTX)).ExpectChecked(Id(IDC_INSTALL_DIRECTX), !row.needed);
    driver.Click(Id(ID_WIZBACK)).Click(Id(ID_WIZNEXT));
    expectPage();
    driver.Key("Esc").Click(Text("E&xit Setup"));
    EXPECT_EQ(RunCompletion(driver), 0);
  }
}

TEST_F(DirectXPageTest, SetupRunsOnlyWithTheBoxTicked) {
  struct Row {
    const char* name;
    const char* version;
    bool toggle;  // click the box once before Next
    int generationAfter;
  };
  const Row rows[] = {{"needed, ticked", "4.06.02.0436", false, 7},
                      {"needed, unticked by the user", "4.06.02.0436", true, 6},
                      {"present, unticked", "4.05.00.0100", false, 5},
                      {"present, ticked by the user", "4.05.00.0100", true, 7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProbeWith(row.version);
    // A present DirectX 5 is not one the probe accepts; the page's tick is
    // what counts here, so the flag is set as for a suitable one.
    if (row.version == std::string("4.05.00.0100")) Settings().directXNeeded = false;
    Settings().directxPath = MakeDirectXPackage("directx7", kPackage7);
    automation::Driver driver;
    driver.Wait("Install").Click(Id(ID_WIZNEXT));
    if (row.toggle) driver.Click(Id(IDC_INSTALL_DIRECTX));
    driver.Click(Id(ID_WIZNEXT)).Expect(Id(ID_WIZFINISH), "&Finish").Click(Id(ID_WIZFINISH));
    EXPECT_EQ(RunCompletion(driver), 0);
    EXPECT_EQ(InstalledGeneration(), row.generationAfter);
  }
}

TEST_F(DirectXPageTest, FailedSetupIsReportedOnceAndTheWizardGoesOn) {
  ProbeWith("4.06.02.0436");
  Settings().directxPath = MakeDirectXPackage("missing", "");
  int warnings = -1;
  automation::Driver driver;
  ToCompletePage(driver)
      .Wait("Warning")
      .Do("one warning", [&] { warnings = CountWindowsWith("DirectX Setup Failed"); })
      .Key("Enter")
      .Expect(Id(ID_WIZFINISH), "&Finish")
      .Do("no second warning", [] { EXPECT_EQ(CountWindowsWith("DirectX Setup Failed"), 0); })
      .Click(Id(ID_WIZFINISH));
  EXPECT_EQ(RunCompletion(driver), 0);
  EXPECT_EQ(warnings, 1);
  EXPECT_FALSE(Settings().restartNeeded);
}

TEST_F(DirectXPageTest, SetupAskingForARestartLeadsToTheRestartOffer) {
  ProbeWith("4.06.02.0436");
  Settings().directxPath = MakeDirectXPackage("restart", "Version=4.07.00.0700\nRestart=yes\nFile=ddraw.dll\n");
  const char question[] = "It is necessary to restart your computer. Restart now?";
  FinishWithDefaults([&](automation::Driver& driver) {
    driver.Expect(Text(question), question).Click(Text("Don't Restart"));
  });
  EXPECT_TRUE(Settings().restartNeeded);
}

}  // namespace
}  // namespace qm::test
