// The restart offer at the end and the privilege it needs.
#include "CompletionTest.h"
#include "install/settings/InstallationSettings.h"
#include "install/engine/MainWindow.h"
#include "platform/shell/Privileges.h"
#include "platform/ui/Controls.h"
#include "platform/shell/Restart.h"

namespace qm::test {
namespace {

using automation::Id;
using automation::Text;

class RestartTest : public CompletionTest {
 protected:
  void SetUp() override {
    CompletionTest::SetUp();
    Settings().restartNeeded = true;
  }
};

TEST_F(RestartTest, DeclinedRestartEndsWithoutOne) {
  struct Row {
    const char* name;
    std::function<void(automation::Driver&)> answer;
  };
  const Row rows[] = {{"Don't Restart", [](automation::Driver& d) { d.Click(Text("Don't Restart")); }},
                      {"Esc", [](automation::Driver& d) { d.Expect(Id(IDOK), "Restart Now").Key("Esc"); }}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FinishWithDefaults(row.answer);
    EXPECT_EQ(qm::shell::ReadPendingRestart().count, 0);
  }
}

TEST_F(RestartTest, RestartNowWithThePrivilegeRestartsTheEnvironment) {
  FinishWithDefaults([](automation::Driver& d) { d.Click(Text("Restart Now")); });
  const qm::shell::PendingRestart restart = qm::shell::ReadPendingRestart();
  EXPECT_EQ(restart.count, 1);
  EXPECT_EQ(restart.action, "reboot");
}

// A token's enabled privileges are its process's, as on Windows: one an
// earlier test of this process enabled is put back first.
TEST_F(RestartTest, RestartNowWithoutThePrivilegeSaysSoAndEnds) {
  EnablePrivilege(SE_SHUTDOWN_NAME, false);
  ASSERT_TRUE(qm::shell::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false));
  int errors = -1;
  int restartQuestions = -1;
  FinishWithDefaults([&](automation::Driver& d) {
    d.Click(Text("Restart Now"))
        .Wait("Error")
        .Do("the message", [&] { errors = CountWindowsWith("Can't restart. Probably you don't have enough privileges"); })
        // The box disables only the main window: the wizard's Finish is
        // still there to be pressed, and must not finish a second time.
        .Do("Finish again", [&] {
          for (HWND window : TopLevelWindows())
            if (HWND finish = GetDlgItem(window, ID_WIZFINISH); finish && IsWindowEnabled(finish))
              SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_WIZFINISH, BN_CLICKED), reinterpret_cast<LPARAM>(finish));
          restartQuestions = CountWindowsWith("Restart Now");
        })
        .Key("Enter");
  });
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(restartQuestions, 0);
  EXPECT_EQ(qm::shell::ReadPendingRestart().count, 0);
}

TEST(EnablePrivilege, AnswersWhetherTheTokenNowHoldsTheState) {
  EXPECT_TRUE(EnablePrivilege(SE_SHUTDOWN_NAME, true));
  EXPECT_TRUE(qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME));
  EXPECT_TRUE(EnablePrivilege(SE_SHUTDOWN_NAME, false));
  EXPECT_FALSE(qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME));
  EXPECT_FALSE(EnablePrivilege("SeNoSuchPrivilege", true));

  ASSERT_TRUE(qm::shell::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false));
  EXPECT_FALSE(EnablePrivilege(SE_SHUTDOWN_NAME, true));
  EXPECT_FALSE(qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME));
}

}  // namespace
}  // namespace qm::test
