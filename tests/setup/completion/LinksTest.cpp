// The links page and the links that Finish makes.
#include <filesystem>

#include "CompletionTest.h"
#include "install/resources/ResourceIds.h"
#include "install/settings/InstallationSettings.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/Controls.h"

namespace qm::test {
namespace {

using automation::Id;
using automation::Text;

struct ExpectedLink {
  std::string file;
  std::string target;
  std::string icon;
  std::string workingDirectory;
  std::string description;
};

std::vector<ExpectedLink> ExpectedLinks(const std::string& d) {
  const std::string group = kGroupFolder;
  return {
      {group + "\\Quellmoor.lnk", d + "\\bin\\start.exe", d + "\\bin\\ryk.ico", "", "Quellmoor"},
      {group + "\\Setup.lnk", d + "\\bin\\setup.exe", d + "\\bin\\setup.exe", "", "Setup"},
      {group + "\\Uninstall.lnk", d + "\\uninstall\\uninstall.exe", d + "\\uninstall\\uninstall.exe",
       d + "\\uninstall", "Uninstall"},
      {group + "\\Release notes.lnk", d + "\\doc\\readme.txt", d + "\\doc\\readme.txt", "", "Release notes"},
      {std::string(kDesktopFolder) + "\\Quellmoor.lnk", d + "\\bin\\start.exe", d + "\\bin\\ryk.ico", "",
       "Quellmoor"},
  };
}

std::string RunLnkInfo(const std::string& windowsPath) {
  const std::string command = "/usr/bin/lnkinfo '" + qm::kernel::ResolveWindowsPath(windowsPath).value() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  if (!pipe) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  return output;
}

// Every link the default answers make, read back whole.
void ExpectTheLinks() {
  for (const ExpectedLink& expected : ExpectedLinks("C:\\Games\\Quellmoor")) {
    SCOPED_TRACE(expected.file);
    auto link = qm::shell::ReadShellLink(expected.file);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, expected.target);
    EXPECT_EQ(link->iconLocation, expected.icon);
    EXPECT_EQ(link->iconIndex, 0);
    EXPECT_EQ(link->workingDirectory, expected.workingDirectory);
    EXPECT_EQ(link->description, expected.description);
    EXPECT_EQ(link->arguments, "");
  }
}

class LinksTest : public CompletionTest {};

TEST_F(LinksTest, FinishWithDefaultsMakesTheGroupAndTheDesktopLink) {
  MakeInstalledGame();
  FinishWithDefaults();
  ExpectTheLinks();
  EXPECT_TRUE(launched.empty());
  EXPECT_EQ(QueryRecordValue("destinationPath"), "C:\\Games\\Quellmoor");
  EXPECT_EQ(QueryRecordValue("sourcePath"), "E:");
  EXPECT_EQ(QueryRecordValue("installationType"), "full");
}

TEST_F(LinksTest, AStandardLinkParserReadsEveryLink) {
  if (!std::filesystem::exists("/usr/bin/lnkinfo")) GTEST_SKIP() << "lnkinfo is not installed";
  MakeInstalledGame();
  FinishWithDefaults();
  for (const ExpectedLink& expected : ExpectedLinks("C:\\Games\\Quellmoor")) {
    SCOPED_TRACE(expected.file);
    const std::string output = RunLnkInfo(expected.file);
    std::vector<std::string> lines = {"Local path\t\t\t: " + expected.target,
                                      "Description\t\t\t: " + expected.description,
                                      "Icon location\t\t\t: " + expected.icon};
    if (!expected.workingDirectory.empty())
      lines.push_back("Working directory\t\t: " + expected.workingDirectory);
    else
      EXPECT_EQ(output.find("Working directory"), std::string::npos) << output;
    EXPECT_EQ(output.find("Command line arguments"), std::string::npos) << output;
    for (const std::string& line : lines) EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
}

TEST_F(LinksTest, InstallingAgainReplacesTheLinksAlsoReadOnlyOnes) {
  MakeInstalledGame();
  MakeWindowsDirectory(kGroupFolder);
  for (const ExpectedLink& old : ExpectedLinks("C:\\Games\\Quellmoor")) {
    ASSERT_TRUE(WriteWindowsFile(old.file, "an old link"));
    SetFileAttributesA(old.file.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  // The desktop link is replaced by the save itself, which needs it writable.
  SetFileAttributesA((std::string(kDesktopFolder) + "\\Quellmoor.lnk").c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(WriteWindowsFile(std::string(kGroupFolder) + "\\Readme first.txt", "kept"));

  FinishWithDefaults();  // a message box would leave the driver without steps
  ExpectTheLinks();
  EXPECT_TRUE(Exists(std::string(kGroupFolder) + "\\Readme first.txt"));
}

TEST_F(LinksTest, UntickedBoxesStayUntickedAcrossVisitsAndMakeNoLinks) {
  struct Row {
    int box;
    bool groupExpected;
    bool desktopExpected;
  };
  const Row rows[] = {{IDC_DESKTOP_LINK, true, false}, {IDC_PROGRAM_GROUP, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.box);
    std::filesystem::remove_all(qm::kernel::ResolveWindowsPath(kGroupFolder).value());
    std::filesystem::remove(qm::kernel::ResolveWindowsPath(std::string(kDesktopFolder) + "\\Quellmoor.lnk").value());
    StartedAs("E:\\setup.exe");
    MakeInstalledGame();
    automation::Driver driver;
    driver.Wait("Install")
        .Uncheck(Id(row.box))
        .Click(Id(ID_WIZNEXT))
        .Do("forget the record", [] { RemoveRecordValue("sourcePath"); })
        .Click(Id(ID_WIZBACK))
        .ExpectChecked(Id(row.box), false)
        .Do("record written again", [] { EXPECT_EQ(QueryRecordValue("sourcePath"), "E:"); })
        .Click(Id(ID_WIZNEXT))
        .Click(Id(ID_WIZNEXT))
        .Click(Id(ID_WIZFINISH));
    EXPECT_EQ(RunCompletion(driver), 0);
    EXPECT_EQ(Exists(kGroupFolder), row.groupExpected);
    EXPECT_EQ(Exists(std::string(kDesktopFolder) + "\\Quellmoor.lnk"), row.desktopExpected);
  }
}

TEST_F(LinksTest, LinksPageButtonsLabelsAndBoxes) {
  automation::Driver driver;
  driver.Wait("Install")
      .Expect(Id(IDC_PROGRAM_GROUP), "Create Program Group")
      .Expect(Id(IDC_DESKTOP_LINK), "Create Desktop Link")
      .ExpectChecked(Id(IDC_PROGRAM_GROUP), true)
      .ExpectChecked(Id(IDC_DESKTOP_LINK), true)
      .ExpectEnabled(Id(ID_WIZBACK), false)
      .ExpectEnabled(Id(ID_WIZNEXT), true)
      .Expect(Id(ID_WIZBACK), "&Back")
      .Expect(Id(ID_WIZNEXT), "&Next")
      .Expect(Id(IDCANCEL), "&Cancel")
      .Expect(Id(IDHELP), "Help")
      .ExpectEnabled(Id(IDHELP), true)
      .Do("settings untouched", [] {
        EXPECT_TRUE(Settings().createProgramGroup);
        EXPECT_TRUE(Settings().createDesktopLink);
      })
      .Key("Esc")
      .Click(Text("E&xit Setup"));
  EXPECT_EQ(RunCompletion(driver), 0);
}

TEST_F(LinksTest, CancelAsksOnceAndExitSetupKeepsFilesAndRecordButMakesNoLinks) {
  struct Row {
    const char* name;
    int nextClicks;
    const char* cancelKey;  // null: the Cancel button
  };
  const Row rows[] = {{"links page", 0, nullptr}, {"DirectX page", 1, nullptr}, {"DirectX page, Esc", 1, "Esc"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MakeInstalledGame();
    int resumeDialogs = -1;
    int resumedPage = -1;
    automation::Driver driver;
    driver.Wait("Install");
    for (int i = 0; i < row.nextClicks; ++i) driver.Click(Id(ID_WIZNEXT));
    auto cancel = [&] {
      if (row.cancelKey)
        driver.Key(row.cancelKey);
      else
        driver.Click(Id(IDCANCEL));
    };
    cancel();
    driver.Do("one question", [&] { resumeDialogs = CountWindowsWith("E&xit Setup"); })
        .Click(Text("&Resume"))
        .Do("same page", [&] {
          resumedPage = automation::IsControlVisible(Id(ID_WIZBACK)) &&
                                automation::IsControlEnabled(Id(ID_WIZBACK))
                            ? 1
                            : 0;
          EXPECT_EQ(CountWindowsWith("E&xit Setup"), 0);
        });
    cancel();
    driver.Click(Text("E&xit Setup"));
    EXPECT_EQ(RunCompletion(driver), 0);
    EXPECT_EQ(resumeDialogs, 1);
    EXPECT_EQ(resumedPage, row.nextClicks);
    EXPECT_TRUE(Exists(Settings().GetStartExePath()));
    EXPECT_EQ(QueryRecordValue("destinationPath"), "C:\\Games\\Quellmoor");
    EXPECT_FALSE(Exists(kGroupFolder));
    EXPECT_FALSE(Exists(std::string(kDesktopFolder) + "\\Quellmoor.lnk"));
    EXPECT_TRUE(launched.empty());
  }
}

}  // namespace
}  // namespace qm::test
