#include <fstream>

#include "AutomationTestSupport.h"
#include "platform/ui/Startup.h"
#include "support/Scripted.h"
#include "support/TempDir.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class DriverTest : public AutomationTest {};

// What the AutomationError that `run` ends with says; a test failure when
// it ends without one.
std::string ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const AutomationError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no error";
  return {};
}

// The pattern of a copy with a Cancel button: the handler drains the queue,
// and a step taken at an idle point inside the drain clicks Cancel.
TEST_F(DriverTest, StepsRunInsideDrainsAndModalLoops) {
  HWND main = Frame("Install", {0, 0, 400, 300});
  Button(main, 100, "&Start", {10, 10, 90, 35});
  bool cancelled = false;
  int filesCopied = 0;
  onCommand_ = [&](HWND frame, int id) {
    if (id == 100) {
      HWND progress = Frame("Copying", {50, 50, 250, 150}, frame);
      Button(progress, IDCANCEL, "Cancel", {10, 10, 90, 35});
      while (!cancelled && filesCopied < 1000) {
        ++filesCopied;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&msg);
          DispatchMessageA(&msg);
        }
      }
      DestroyWindow(progress);
      // A modal loop of its own: ends when OK is pressed.
      HWND box = Frame("Done", {100, 100, 300, 200}, frame);
      Button(box, IDOK, "OK", {10, 10, 90, 35});
      bool closed = false;
      auto previous = onCommand_;
      onCommand_ = [&](HWND, int command) { closed = command == IDOK; };
      MSG msg;
      while (!closed && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
      onCommand_ = previous;
      DestroyWindow(box);
      PostQuitMessage(5);
    }
    if (id == IDCANCEL) cancelled = true;
  };
  Driver driver;
  driver.Wait("Install").Click(Text("&Start")).Wait("Copying").Click(Id(IDCANCEL)).Wait("Done").Click(Text("OK"));
  EXPECT_EQ(RunLoop(), 5);
  EXPECT_TRUE(cancelled);
  EXPECT_LT(filesCopied, 1000);
  EXPECT_EQ(driver.StepsLeft(), 0u);
  EXPECT_EQ(commands_, (std::vector<int>{100, IDCANCEL, IDOK}));
  DestroyWindow(main);
}

TEST_F(DriverTest, ProgramWaitingWithNoStepsLeftFailsWithTheOpenWindows) {
  HWND main = Frame("Install", {0, 0, 400, 300});
  Button(main, 0x3024, "&Next >", {10, 10, 90, 35});
  Driver driver;
  driver.Wait("Install");
  const std::string message = ErrorOf([this] { RunLoop(); });
  EXPECT_NE(message.find("no steps are left"), std::string::npos) << message;
  EXPECT_NE(message.find("window \"Install\""), std::string::npos) << message;
  EXPECT_NE(message.find("id=12324 text=\"&Next >\" enabled visible"), std::string::npos) << message;
  DestroyWindow(main);
}

TEST_F(DriverTest, WaitingForAWindowThatCannotComeFailsInsteadOfHanging) {
  HWND main = Frame("Install", {0, 0, 400, 300});
  const std::string reported = StepFailure([](Driver& driver) { driver.Wait("Never"); }, [this] { RunLoop(); });
  EXPECT_NE(reported.find("wait \"Never\": the program is idle with nothing pending"), std::string::npos) << reported;
  DestroyWindow(main);
}

TEST_F(DriverTest, WaitingOutlastsTimersThatWillOpenTheWindow) {
  HWND main = Frame("Install", {0, 0, 400, 300});
  static int ticks = 0;
  ticks = 0;
  SetTimer(main, 1, 1, [](HWND hwnd, UINT, UINT_PTR id, DWORD) {
    if (++ticks == 3) {
      KillTimer(hwnd, id);
      CreateWindowExA(0, "TestFrame", "Later", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, hwnd, nullptr, nullptr,
                              nullptr);
    }
  });
  Driver driver;
  driver.Wait("Later").Do("quit", [] { PostQuitMessage(0); });
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(ticks, 3);
  DestroyWindow(main);
}

TEST_F(DriverTest, ChecksAndExpectationsReadControlState) {
  HWND main = Frame("Options", {0, 0, 400, 300});
  Button(main, 1016, "Create &links", {10, 10, 150, 30}, BS_AUTOCHECKBOX);
  HWND off = Button(main, 1017, "Off", {10, 40, 150, 60});
  EnableWindow(off, FALSE);
  Driver driver;
  driver.ExpectChecked(Id(1016), false)
      .Check(Id(1016))
      .ExpectChecked(Id(1016), true)
      .Check(Id(1016))
      .ExpectChecked(Id(1016), true)
      .Uncheck(Id(1016))
      .ExpectChecked(Id(1016), false)
      .Expect(Id(1016), "Create &links")
      .ExpectEnabled(Id(1017), false)
      .Do("quit", [] { PostQuitMessage(0); });
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(commands_, (std::vector<int>{1016, 1016})) << "checking a checked box clicks nothing";
  DestroyWindow(main);
}

TEST_F(DriverTest, FailedExpectationNamesTheStepAndTheActualText) {
  HWND main = Frame("Options", {0, 0, 400, 300});
  Button(main, 1009, "1234 Kb", {10, 10, 150, 30});
  Driver driver;
  driver.Expect(Id(1009), "999 Kb");
  const std::string message = ErrorOf([this] { RunLoop(); });
  EXPECT_NE(message.find("expect 1009 (0x3f1) \"999 Kb\": the text is \"1234 Kb\""), std::string::npos) << message;
  DestroyWindow(main);
}

TEST_F(DriverTest, ImmediateLookupsFailWithWhatWasSought) {
  HWND main = Frame("Install", {0, 0, 400, 300});
  HWND disabled = Button(main, 7, "Off", {10, 10, 90, 35});
  EnableWindow(disabled, FALSE);
  std::pair<std::function<void()>, std::string> rows[] = {
      {[] { FindControl(Id(999)); }, "no control 999 (0x3e7) in window \"Install\""},
      {[] { FindControl(Text("&Back")); }, "no control \"&Back\" in window \"Install\""},
      {[] { ClickControl(Id(7)); }, "control 7 (0x7) is disabled"},
      {[] { PressKey("Hyper+Q"); }, "unknown modifier in key Hyper+Q"},
  };
  for (const auto& [action, expected] : rows) {
    SCOPED_TRACE(expected);
    const std::string message = ErrorOf(action);
    EXPECT_EQ(message.rfind(expected, 0), 0u) << message;
  }
  DestroyWindow(main);
}

TEST_F(DriverTest, KeysAndTextReachTheFocusedControl) {
  HWND main = Frame("Keys", {0, 0, 400, 300});
  HWND first = Button(main, 1, "One", {10, 10, 90, 35});
  SetFocus(first);
  static std::vector<std::pair<UINT, WPARAM>> seen;
  seen.clear();
  WNDPROC recorder = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_KEYDOWN || m == WM_CHAR || m == WM_SYSKEYDOWN || m == WM_SYSCHAR) seen.emplace_back(m, w);
    return DefWindowProcA(h, m, w, l);
  };
  SetWindowLongPtrA(first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recorder));
  PressKey("Enter");
  PressKey("Alt+N");
  PressKey("Space");
  TypeText("C:\\Games");
  RunUntilIdle();
  std::vector<std::pair<UINT, WPARAM>> expected{{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, '\r'},  {WM_SYSKEYDOWN, 'N'},
                                                {WM_SYSCHAR, 'n'},       {WM_KEYDOWN, VK_SPACE}, {WM_CHAR, ' '}};
  for (char c : std::string("C:\\Games")) expected.emplace_back(WM_CHAR, static_cast<WPARAM>(c));
  EXPECT_EQ(seen, expected);
  DestroyWindow(main);
}

TEST_F(DriverTest, ScreenshotStepWritesAPng) {
  TempDir folder("shots");
  setenv("QUELLMOOR_SCREENSHOTS", folder.Path().c_str(), 1);
  HWND main = Frame("Install", {0, 0, 400, 300});
  Driver driver;
  driver.Screenshot("first.png").Do("quit", [] { PostQuitMessage(0); });
  RunLoop();
  std::ifstream png(folder.Path() + "/first.png", std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  unsetenv("QUELLMOOR_SCREENSHOTS");
  DestroyWindow(main);
}

class ScriptTest : public AutomationTest {};

struct ScriptError { const char* script; const char* error; };

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

// Every way an unattended run ends: its exit status and what it prints.
TEST_F(UnattendedRunTest, EachWayTheRunEndsGivesItsStatusAndMessage) {
  struct Row { const char* what; const char* script; int status; const char* message; };
  const Row rows[] = {
      {"an exhausted script dumps the windows", "wait \"Install\"\ncheck 1016\n", 1,
       "no steps are left(.|\n)*window \"Install\"(.|\n)*TestButton id=1016 text=\"Links\" enabled visible"},
      {"end stops the run as a success", "wait \"Install\"\nexpect 0x3024 \"&Next >\"\nend\n", 0, ""},
      {"a failing step ends it with its message", "wait \"Install\"\nclick \"&Finish\"\n", 1,
       "click \"&Finish\": no control \"&Finish\" in window \"Install\""},
      {"the program ending before the script does fails", "click 0x3024\nwait \"Complete\"\nend\n", 1,
       "the program ended before the step: wait \"Complete\""},
      {"the program ending with only end left is its own exit", "click 0x3024\nend\n", 40, ""},
      {"a script that cannot be read stops at the start", "wait \"Install\"\njump 5\n", 1,
       "line 2: unknown step \"jump\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EXIT(RunProgram(row.script), testing::ExitedWithCode(row.status), row.message);
  }
}

}  // namespace
}  // namespace qm::test
