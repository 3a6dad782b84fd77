// The wizard page protocol as pages built on the framework see it.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkTest.h"
#include "platform/framework/Application.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/PropertySheet.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

using Log = std::vector<std::string>;
constexpr UINT kFirstPage = 601;
constexpr int kNameEdit = 1020;

class RecordingPage : public qm::fw::PropertyPage {
 public:
  RecordingPage(UINT templateId, std::string name, Log& log)
      : PropertyPage(templateId), name(std::move(name)), log(log) {}

  bool OnInitDialog() override {
    Record("init");
    return PropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    Record("set");
    if (onSetActive) onSetActive();
    if (buttons) GetSheet()->SetWizardButtons(buttons);
    if (refuseActivation) return false;
    return PropertyPage::OnSetActive();
  }
  bool OnKillActive() override {
    Record("kill");
    return PropertyPage::OnKillActive();
  }
  LRESULT OnWizardNext() override {
    Record("next");
    ShowWindow(SW_HIDE);  // as every page of the installer does before it moves on
    return nextResult;
  }
  LRESULT OnWizardBack() override { return Recorded("back", backResult); }
  bool OnWizardFinish() override { return Recorded("finish", allowFinish); }
  bool OnQueryCancel() override { return Recorded("query", allowCancel); }
  void OnCancel() override {
    Record("cancel");
    if (onCancel) onCancel();
  }

  DWORD buttons = 0;
  bool refuseActivation = false;
  LRESULT nextResult = 0;
  LRESULT backResult = 0;
  bool allowFinish = true;
  bool allowCancel = true;
  std::function<void()> onCancel;
  std::function<void()> onSetActive;

 private:
  void Record(const char* what) { log.push_back(name + " " + what); }
  template <class Answer>
  Answer Recorded(const char* what, Answer answer) {
    Record(what);
    return answer;
  }
  std::string name;
  Log& log;
};

// A page exchanging an edit's text with a member, as a destination page does.
class NamePage : public RecordingPage {
 public:
  using RecordingPage::RecordingPage;
  std::string name = "alpha";

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override { qm::fw::DdxText(exchange, kNameEdit, name); }
};

class TestSheet : public qm::fw::PropertySheet {
 public:
  explicit TestSheet(Log& log) : PropertySheet("Test Wizard"), first(kFirstPage, "1", log),
                                 second(kFirstPage + 1, "2", log), third(kFirstPage + 2, "3", log), log(log) {
    AddPage(&first);
    AddPage(&second);
    AddPage(&third);
    SetWizardMode();
  }

  bool ignoreClose = false;
  RecordingPage first;
  NamePage second;
  RecordingPage third;

 protected:
  void OnClose() override {
    if (!ignoreClose) PropertySheet::OnClose();
  }
  void OnActivate(UINT state, HWND other, bool minimized) override {
    PropertySheet::OnActivate(state, other, minimized);
    if (state != WA_INACTIVE) log.push_back("sheet activated");
  }

 private:
  Log& log;
};

class WizardProtocolTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    using qm::ui::RegisterDialogResource;
    auto textPage = [](const char* caption, const char* text) {
      return PageTemplate(caption, {Item(WC_STATICA, text, -1, 97, 0, 150, 8, SS_LEFT)});
    };
    RegisterDialogResource(kFirstPage, textPage("One", "First page"));
    RegisterDialogResource(kFirstPage + 1, PageTemplate("Two", {Item(WC_EDITA, "", kNameEdit, 104, 20, 117, 12,
                                                                     WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)}));
    RegisterDialogResource(kFirstPage + 2, textPage("Three", "Last page"));
  }

  void Open() {
    ASSERT_TRUE(sheet.Create());
    Pump();
    log.clear();
  }

  void Press(std::initializer_list<int> buttons) {
    for (int button : buttons) {
      sheet.PressButton(button);
      Pump();
    }
  }
  void Press(int button) { Press({button}); }

  HWND SheetButton(int id) const { return GetDlgItem(sheet.Handle(), id); }
  HWND NameEdit() const { return GetDlgItem(sheet.second.Handle(), kNameEdit); }
  static std::string TextOf(HWND hwnd) { return qm::fw::Window::FromHandle(hwnd)->GetWindowText(); }
  // Back, Next and Finish, each "hidden", "disabled" or "enabled".
  Log ButtonStates() const {
    Log states;
    for (int id : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH}) {
      HWND button = SheetButton(id);
      states.push_back(!IsWindowVisible(button) ? "hidden" : IsWindowEnabled(button) ? "enabled" : "disabled");
    }
    return states;
  }

  void TearDown() override {
    sheet.DestroyWindow();
    FrameworkTest::TearDown();
  }

  Log log;
  TestSheet sheet{log};
};

TEST_F(WizardProtocolTest, PagesAreCreatedWhenFirstShownAndActivatedOnEveryVisit) {
  ASSERT_TRUE(sheet.Create());
  EXPECT_EQ(log, (Log{"1 init", "1 set"}));
  EXPECT_EQ(sheet.second.Handle(), nullptr);
  EXPECT_EQ(sheet.third.Handle(), nullptr);
  log.clear();

  Press(PSBTN_NEXT);
  EXPECT_EQ(log, (Log{"1 next", "1 kill", "2 init", "2 set"}));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_FALSE(sheet.first.IsWindowVisible());
  EXPECT_TRUE(sheet.second.IsWindowVisible());
  log.clear();

  Press({PSBTN_BACK, PSBTN_NEXT});
  EXPECT_EQ(log, (Log{"2 back", "2 kill", "1 set", "1 next", "1 kill", "2 set"}));
  EXPECT_EQ(sheet.third.Handle(), nullptr);
}

TEST_F(WizardProtocolTest, DefaultActivationAndDeactivationExchangeTheMembers) {
  Open();
  Press(PSBTN_NEXT);
  HWND edit = NameEdit();
  EXPECT_EQ(TextOf(edit), "alpha");

  SetWindowTextA(edit, "beta");
  Press(PSBTN_NEXT);
  EXPECT_EQ(sheet.second.name, "beta");

  sheet.second.name = "gamma";
  Press(PSBTN_BACK);
  EXPECT_EQ(TextOf(edit), "gamma");
}

TEST_F(WizardProtocolTest, FocusFollowsThePageThatIsShown) {
  ASSERT_TRUE(sheet.Create());
  Press(PSBTN_NEXT);
  HWND edit = NameEdit();
  EXPECT_EQ(GetFocus(), SheetButton(ID_WIZNEXT));  // the pressed button keeps it
  SetFocus(edit);
  Press(PSBTN_NEXT);
  // The last page has nothing to focus; the focus must not stay on the
  // hidden page.
  EXPECT_EQ(GetFocus(), SheetButton(ID_WIZNEXT));
  Press(PSBTN_BACK);
  EXPECT_EQ(GetFocus(), SheetButton(ID_WIZNEXT));
}

TEST_F(WizardProtocolTest, WizardButtonFlagsSetTheButtons) {
  struct Row { DWORD flags; Log backNextFinish; };
  const Row rows[] = {
      {PSWIZB_NEXT, {"disabled", "enabled", "hidden"}},
      {PSWIZB_BACK | PSWIZB_NEXT, {"enabled", "enabled", "hidden"}},
      {PSWIZB_BACK, {"enabled", "disabled", "hidden"}},
      {PSWIZB_BACK | PSWIZB_FINISH, {"enabled", "hidden", "enabled"}},
      {PSWIZB_DISABLEDFINISH, {"disabled", "hidden", "disabled"}},
  };
  Open();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.flags);
    sheet.SetWizardButtons(row.flags);
    EXPECT_EQ(ButtonStates(), row.backNextFinish);
  }
}

TEST_F(WizardProtocolTest, DisabledBackIsNotPressed) {
  Open();
  sheet.SetWizardButtons(PSWIZB_NEXT);
  Press(PSBTN_NEXT);
  sheet.SetWizardButtons(PSWIZB_NEXT);
  log.clear();
  Press(PSBTN_BACK);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
}

TEST_F(WizardProtocolTest, FinishTextShowsFinishAndHidesBackAndNextForGood) {
  Open();
  sheet.SetFinishText("&Finish");
  EXPECT_EQ(ButtonStates(), (Log{"hidden", "hidden", "enabled"}));
  EXPECT_EQ(TextOf(SheetButton(ID_WIZFINISH)), "&Finish");
  sheet.SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  EXPECT_EQ(ButtonStates(), (Log{"hidden", "hidden", "enabled"}));
}

TEST_F(WizardProtocolTest, CancelToCloseMakesCancelUnavailable) {
  Open();
  sheet.first.CancelToClose();
  EXPECT_FALSE(IsWindowEnabled(SheetButton(IDCANCEL)));
  Press(PSBTN_CANCEL);
  sheet.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_TRUE(log.empty());
  // Activation must not bring it back.
  Press(PSBTN_NEXT);
  EXPECT_FALSE(IsWindowEnabled(SheetButton(IDCANCEL)));
}

TEST_F(WizardProtocolTest, CancelAsksTheCurrentPageThenResetsEveryCreatedPageOnce) {
  Open();
  Press(PSBTN_NEXT);
  log.clear();
  Press(PSBTN_CANCEL);
  EXPECT_EQ(log, (Log{"2 query", "1 cancel", "2 cancel"}));
  EXPECT_EQ(sheet.third.Handle(), nullptr);
}

TEST_F(WizardProtocolTest, RefusedCancelResetsNoPage) {
  Open();
  sheet.first.allowCancel = false;
  Press(PSBTN_CANCEL);
  EXPECT_EQ(log, (Log{"1 query"}));
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
}

TEST_F(WizardProtocolTest, ResumeAfterCancelKeepsTheSheetOnItsPageWithItsChoices) {
  int questions = 0;
  sheet.first.onCancel = [&] { ++questions; };  // the user answers "resume"
  Open();
  Press(PSBTN_NEXT);
  HWND edit = NameEdit();
  SetWindowTextA(edit, "kept");

  Press(PSBTN_CANCEL);
  EXPECT_EQ(questions, 1);
  ASSERT_TRUE(IsWindow(sheet.Handle()));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_TRUE(sheet.second.IsWindowVisible());
  EXPECT_EQ(TextOf(edit), "kept");

  Press(PSBTN_NEXT);
  EXPECT_EQ(sheet.GetActiveIndex(), 2);
  EXPECT_EQ(sheet.second.name, "kept");
}

// The resume question is made without a parent; the wizard under it still
// takes no input while it is open.
TEST_F(WizardProtocolTest, ParentlessQuestionDuringCancelDisablesTheWizard) {
  constexpr UINT kQuestion = 611;
  qm::ui::RegisterDialogResource(
      kQuestion, DialogBoxTemplate("Install", 120, 40, {Item(WC_BUTTONA, "&Resume", IDOK, 7, 20, 50, 14, 0)}));
  class Question : public qm::fw::Dialog {
   public:
    Question() : Dialog(kQuestion) {}
    HWND wizard = nullptr;
    bool wizardEnabled = true;
    bool OnInitDialog() override {
      PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return Dialog::OnInitDialog();
    }
    void OnOK() override {
      wizardEnabled = ::IsWindowEnabled(wizard) != FALSE;
      Dialog::OnOK();
    }
  };
  INT_PTR answer = 0;
  bool enabledDuringQuestion = true;
  sheet.first.onCancel = [&] {
    Question question;
    question.wizard = sheet.Handle();
    answer = question.DoModal();
    enabledDuringQuestion = question.wizardEnabled;
  };
  Open();
  SetActiveWindow(sheet.Handle());
  Press(PSBTN_CANCEL);
  EXPECT_EQ(answer, IDOK);
  EXPECT_FALSE(enabledDuringQuestion);
  EXPECT_TRUE(sheet.IsWindowEnabled());
}

TEST_F(WizardProtocolTest, ExitAfterCancelEndsTheLoopThroughTheQuitMessage) {
  class App : public qm::fw::Application {
   public:
    explicit App(TestSheet& sheet) : sheet(sheet) {}
    bool InitInstance() override {
      if (!sheet.Create()) return false;
      sheet.PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      return true;
    }
    TestSheet& sheet;
  } app(sheet);
  sheet.first.onCancel = [&] { ::PostMessageA(sheet.Handle(), WM_QUIT, 0, 0); };
  EXPECT_EQ(qm::fw::RunApplication(app), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "1 cancel"), 1);
}

TEST_F(WizardProtocolTest, CloseRequestCancelsUnlessTheSheetIgnoresIt) {
  for (bool ignore : {false, true}) {
    SCOPED_TRACE(ignore);
    Log closeLog;
    TestSheet closing(closeLog);
    closing.ignoreClose = ignore;
    ASSERT_TRUE(closing.Create());
    closeLog.clear();
    closing.SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(!closeLog.empty(), !ignore);
    EXPECT_TRUE(IsWindow(closing.Handle()));
  }
}

TEST_F(WizardProtocolTest, SheetSubclassSeesActivationAfterTheDefault) {
  Open();
  sheet.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  sheet.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  EXPECT_EQ(log, (Log{"sheet activated"}));
}

TEST_F(WizardProtocolTest, NextResultChoosesTheFollowingPage) {
  struct Row { LRESULT result; int expectedIndex; bool secondCreated; };
  const Row rows[] = {{0, 1, true}, {-1, 0, false}, {kFirstPage + 2, 2, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.result);
    Log rowLog;
    TestSheet wizard(rowLog);
    wizard.first.nextResult = row.result;
    ASSERT_TRUE(wizard.Create());
    wizard.PressButton(PSBTN_NEXT);
    EXPECT_EQ(wizard.GetActiveIndex(), row.expectedIndex);
    EXPECT_TRUE(wizard.GetActivePage()->IsWindowVisible());
    EXPECT_EQ(wizard.second.Handle() != nullptr, row.secondCreated);
  }
}

TEST_F(WizardProtocolTest, PageRefusingActivationIsPassedOverBothWays) {
  sheet.second.refuseActivation = true;
  Open();
  Press(PSBTN_NEXT);
  EXPECT_EQ(sheet.GetActiveIndex(), 2);
  Press(PSBTN_BACK);
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
}

TEST_F(WizardProtocolTest, NextOnTheLastPageStaysThere) {
  Open();
  Press({PSBTN_NEXT, PSBTN_NEXT});
  log.clear();
  Press(PSBTN_NEXT);
  EXPECT_EQ(log, (Log{"3 next"}));
  EXPECT_EQ(sheet.GetActiveIndex(), 2);
  EXPECT_TRUE(sheet.third.IsWindowVisible());
}

TEST_F(WizardProtocolTest, FinishEndsAModelessSheetUnlessThePageRefuses) {
  sheet.first.buttons = PSWIZB_FINISH;
  sheet.first.allowFinish = false;
  Open();
  Press(PSBTN_FINISH);
  EXPECT_EQ(log, (Log{"1 finish"}));
  ASSERT_TRUE(IsWindow(sheet.Handle()));

  sheet.first.allowFinish = true;
  HWND window = sheet.Handle();
  Press(PSBTN_FINISH);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(sheet.Handle(), nullptr);
}

TEST_F(WizardProtocolTest, ModalSheetAnswersHowItEnded) {
  struct Row { int button; INT_PTR expected; };
  for (const Row& row : {Row{PSBTN_FINISH, ID_WIZFINISH}, Row{PSBTN_CANCEL, IDCANCEL}}) {
    SCOPED_TRACE(row.button);
    Log modalLog;
    TestSheet modal(modalLog);
    modal.first.buttons = PSWIZB_FINISH;
    // The press waits in the queue until the sheet's own loop runs.
    modal.first.onSetActive = [&] { modal.PostMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(row.button), 0); };
    EXPECT_EQ(modal.DoModal(), row.expected);
    EXPECT_EQ(modal.Handle(), nullptr);
    EXPECT_EQ(modal.first.Handle(), nullptr);
  }
}

}  // namespace
}  // namespace qm::test
