#include <fstream>

#include "AutomationTestSupport.h"
#include "platform/ui/Startup.h"
#include "support/Scripted.h"
#include "support/TempDir.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class ScriptTest : public AutomationTest {};

struct ScriptError {
  const char* script;
  const char* error;
};

// Each script is refused when it is read, with exactly this error.
template <std::size_t N>
void ExpectScriptErrors(const ScriptError (&rows)[N]) {
  for (const ScriptError& row : rows) {
    SCOPED_TRACE(row.script);
    Driver driver;
    EXPECT_EQ(LoadScriptError(driver, row.script), row.error);
    driver.End();
    RunUntilIdle();
  }
}

TEST_F(ScriptTest, StepsAreReadAsWritten) {
  Driver driver;
  LoadScript(driver,
             "# a whole-line comment\n"
             "wait \"Install\"   # until the wizard shows\n"
             "click 0x3024\n"
             "click \"&Next >\"\n"
             "check 1016\n"
             "uncheck 1017\n"
             "\n"
             "key Shift+Tab\n"
             "type \"C:\\Games\\Other\"\n"
             "expect 1009 \"1234 Kb\"\n"
             "expect-enabled 12\n"
             "expect-disabled \"&Back\"\n"
             "expect-checked 1016\n"
             "expect-unchecked 1017\n"
             "screenshot \"wizard-1.png\"\n"
             "end\n");
  std::vector<std::string> expected{"wait \"Install\"",
                                    "click 12324 (0x3024)",
                                    "click \"&Next >\"",
                                    "check 1016 (0x3f8)",
                                    "uncheck 1017 (0x3f9)",
                                    "key Shift+Tab",
                                    "type \"C:\\Games\\Other\"",
                                    "expect 1009 (0x3f1) \"1234 Kb\"",
                                    "expect-enabled 12 (0xc)",
                                    "expect-disabled \"&Back\"",
                                    "expect-checked 1016 (0x3f8)",
                                    "expect-unchecked 1017 (0x3f9)",
                                    "screenshot \"wizard-1.png\"",
                                    "end"};
  EXPECT_EQ(driver.PendingSteps(), expected);
}

TEST_F(ScriptTest, UnreadableStepsNameTheirLine) {
  const ScriptError rows[] = {
      {"wait Install", "line 1: expected wait \"Caption\""},
      {"\nclick", "line 2: expected a control id or \"text\""},
      {"click 12x", "line 1: \"12x\" is neither a control id nor a quoted text"},
      {"type \"unterminated", "line 1: a quoted text has no closing quote"},
      {"key Hyper+Q", "line 1: unknown modifier in key Hyper+Q"},
      {"key F13", "line 1: unknown key F13"},
      {"press Enter", "line 1: unknown step \"press\""},
      {"end now", "line 1: expected end alone"},
      {"expect 5", "line 1: expected expect id \"text\""},
  };
  ExpectScriptErrors(rows);
}

TEST_F(ScriptTest, AScreenshotNameThatLeavesTheScreenshotFolderIsRefused) {
  const ScriptError rows[] = {
      {"screenshot \"../../x.png\"", "line 1: screenshot \"../../x.png\" names a file outside the screenshot folder"},
      {"screenshot \"shots/../../x.png\"",
       "line 1: screenshot \"shots/../../x.png\" names a file outside the screenshot folder"},
      {"screenshot \"..\"", "line 1: screenshot \"..\" names a file outside the screenshot folder"},
      {"\nscreenshot \"/tmp/x.png\"", "line 2: screenshot \"/tmp/x.png\" names a file outside the screenshot folder"},
      {"screenshot \"\"", "line 1: screenshot \"\" names a file outside the screenshot folder"},
  };
  ExpectScriptErrors(rows);
  Driver driver;
  LoadScript(driver, "screenshot \"pages/wizard..1.png\"\nend\n");
  EXPECT_EQ(driver.PendingSteps(), (std::vector<std::string>{"screenshot \"pages/wizard..1.png\"", "end"}));
}

// The unattended run: a tiny program with a window, driven by a script file
// from the environment, in a child process so its exit status can be seen.
class UnattendedRunTest : public AutomationTest {
 protected:
  [[noreturn]] void RunProgram(const std::string& script) {
    std::string path = folder_.Path() + "/run.txt";
    std::ofstream(path) << script;
    setenv("QUELLMOOR_SCRIPT", path.c_str(), 1);
    qm::ui::StartWindowSystem();
    HWND main = Frame("Install", {0, 0, 400, 300});
    Button(main, 0x3024, "&Next >", {10, 10, 90, 35});
    Button(main, 1016, "Links", {10, 40, 90, 65}, BS_AUTOCHECKBOX);
    onCommand_ = [](HWND, int id) {
      if (id == 0x3024) PostQuitMessage(0);
    };
    int code = RunLoop();
    std::exit(code + 40);
  }

  TempDir folder_{"script"};
};

TEST_F(UnattendedRunTest, ExhaustedScriptEndsTheRunWithTheWindowDump) {
  EXPECT_EXIT(RunProgram("wait \"Install\"\ncheck 1016\n"), testing::ExitedWithCode(1),
              "no steps are left(.|\n)*window \"Install\"(.|\n)*TestButton id=1016 text=\"Links\" enabled visible");
}

TEST_F(UnattendedRunTest, EndStopsTheRunAsASuccess) {
  EXPECT_EXIT(RunProgram("wait \"Install\"\nexpect 0x3024 \"&Next >\"\nend\n"), testing::ExitedWithCode(0), "");
}

TEST_F(UnattendedRunTest, FailingStepEndsTheRunWithItsMessage) {
  EXPECT_EXIT(RunProgram("wait \"Install\"\nclick \"&Finish\"\n"), testing::ExitedWithCode(1),
              "click \"&Finish\": no control \"&Finish\" in window \"Install\"");
}

TEST_F(UnattendedRunTest, ProgramEndingBeforeTheScriptDoesFails) {
  EXPECT_EXIT(RunProgram("click 0x3024\nwait \"Complete\"\nend\n"), testing::ExitedWithCode(1),
              "the program ended before the step: wait \"Complete\"");
}

TEST_F(UnattendedRunTest, ProgramEndingWithOnlyEndLeftIsItsOwnExit) {
  EXPECT_EXIT(RunProgram("click 0x3024\nend\n"), testing::ExitedWithCode(40), "");
}

TEST_F(UnattendedRunTest, ScriptThatCannotBeReadStopsAtStart) {
  EXPECT_EXIT(RunProgram("wait \"Install\"\njump 5\n"), testing::ExitedWithCode(1), "line 2: unknown step \"jump\"");
}

}  // namespace
}  // namespace qm::test
