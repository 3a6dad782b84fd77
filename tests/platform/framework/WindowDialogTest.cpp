// Windows and dialogs on the framework: creation, private messages,
// subclassed controls that draw themselves, data exchange, modal and
// self-deleting modeless dialogs, strings by id.
#include <string>
#include <vector>

#include "FrameworkTest.h"
#include "platform/framework/Button.h"
#include "platform/framework/DC.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ProgressCtrl.h"
#include "platform/framework/PropertySheet.h"
#include "platform/framework/Resources.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Resources.h"
#include "support/UiTest.h"

namespace qm::test {
namespace {

constexpr UINT kPrivateMessage = WM_USER + 1;
constexpr UINT kFormTemplate = 811;
constexpr int kEdit = 1201, kCheck = 1202, kRadioA = 1203, kRadioB = 1204, kRadioC = 1205, kBar = 1206;

class FrameWindow : public qm::fw::Window {
 public:
  std::vector<std::string> events;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kPrivateMessage) {
      events.push_back("private " + std::to_string(wParam));
      return 5;
    }
    return Window::WindowProc(message, wParam, lParam);
  }
  int OnCreate(CREATESTRUCTA* create) override {
    events.push_back(std::string("create ") + create->lpszName);
    return Window::OnCreate(create);
  }
  void OnClose() override { events.push_back("close ignored"); }
  bool OnEraseBkgnd(HDC) override { return false; }
  void OnDestroy() override {
    events.push_back("destroy");
    Window::OnDestroy();
  }
  void PostNcDestroy() override { events.push_back("gone"); }
};

using WindowDialogTest = FrameworkTest;

TEST_F(WindowDialogTest, WindowSeesItsCreationItsOwnMessagesAndItsEnd) {
  FrameWindow frame;
  const std::string className = qm::fw::RegisterWindowClass(
      CS_OWNDC, LoadCursorA(nullptr, IDC_ARROW), GetStockObject(WHITE_BRUSH), LoadIconA(nullptr, IDI_ASTERISK));
  ASSERT_TRUE(frame.CreateEx(0, className.c_str(), "Frame", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 300,
                             200, GetDesktopWindow(), nullptr));
  EXPECT_EQ(frame.events, (std::vector<std::string>{"create Frame"}));
  EXPECT_EQ(qm::fw::Window::FromHandlePermanent(frame.Handle()), &frame);

  EXPECT_EQ(frame.SendMessage(kPrivateMessage, 3), 5);
  frame.PostMessage(kPrivateMessage, 4);
  frame.SendMessage(WM_CLOSE);
  Pump();
  EXPECT_EQ(frame.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetDC(nullptr))), 0);
  EXPECT_TRUE(IsWindow(frame.Handle()));

  HWND window = frame.Handle();
  frame.DestroyWindow();
  EXPECT_EQ(frame.events,
            (std::vector<std::string>{"create Frame", "private 3", "close ignored", "private 4", "destroy", "gone"}));
  EXPECT_EQ(frame.Handle(), nullptr);
  EXPECT_EQ(qm::fw::Window::FromHandlePermanent(window), nullptr);
}

// A form with an edit, a check box, a radio group and a progress bar.
class Form : public qm::fw::Dialog {
 public:
  Form() : Dialog(kFormTemplate) {}
  std::string text = "first";
  int check = BST_CHECKED;
  int radio = 1;
  bool bindBar = false;
  bool bindMissing = false;
  qm::fw::ProgressCtrl* bar = nullptr;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override {
    qm::fw::DdxText(exchange, kEdit, text);
    qm::fw::DdxCheck(exchange, kCheck, check);
    qm::fw::DdxRadio(exchange, kRadioA, radio);
    if (bar) qm::fw::DdxControl(exchange, kBar, *bar);
    if (bindMissing) qm::fw::DdxText(exchange, 4242, text);
  }
};

class FormTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    qm::ui::RegisterDialogResource(
        kFormTemplate,
        DialogBoxTemplate(
            "Form", 200, 120,
            {Item(WC_EDITA, "", kEdit, 7, 7, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
             Item(WC_BUTTONA, "Check", kCheck, 7, 24, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
             Item(WC_BUTTONA, "A", kRadioA, 7, 38, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP),
             Item(WC_BUTTONA, "B", kRadioB, 7, 50, 40, 10, BS_AUTORADIOBUTTON),
             Item(WC_BUTTONA, "C", kRadioC, 7, 62, 40, 10, BS_AUTORADIOBUTTON),
             Item(PROGRESS_CLASSA, "", kBar, 7, 80, 180, 14, WS_GROUP),
             Item(WC_BUTTONA, "OK", IDOK, 80, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
             Item(WC_BUTTONA, "Cancel", IDCANCEL, 140, 100, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)}));
  }
};

TEST_F(FormTest, DataExchangeMovesValuesBothWays) {
  Form form;
  ASSERT_TRUE(form.Create());
  HWND dialog = form.Handle();
  // Creation put the members into the controls.
  EXPECT_EQ(form.GetDlgItemText(kEdit), "first");
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), BST_UNCHECKED);

  SetDlgItemTextA(dialog, kEdit, "second");
  CheckDlgButton(dialog, kCheck, BST_UNCHECKED);
  CheckRadioButton(dialog, kRadioA, kRadioC, kRadioC);
  EXPECT_TRUE(form.UpdateData(true));
  EXPECT_EQ(form.text, "second");
  EXPECT_EQ(form.check, static_cast<int>(BST_UNCHECKED));
  EXPECT_EQ(form.radio, 2);

  form.text = "third";
  form.radio = 0;
  EXPECT_TRUE(form.UpdateData(false));
  EXPECT_EQ(form.GetDlgItemText(kEdit), "third");
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioC), BST_UNCHECKED);

  form.bindMissing = true;
  EXPECT_FALSE(form.UpdateData(true));
  form.DestroyWindow();
}

class RedBar : public qm::fw::ProgressCtrl {
 protected:
  void OnPaint() override {
    qm::fw::PaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(255, 0, 0));
  }
};

TEST_F(FormTest, BoundControlDrawsItselfAndKeepsTheControlsState) {
  RedBar bar;
  Form form;
  form.bar = &bar;
  ASSERT_TRUE(form.Create());
  ASSERT_NE(bar.Handle(), nullptr);
  EXPECT_EQ(bar.Handle(), GetDlgItem(form.Handle(), kBar));

  bar.SetRange(0, 1000);
  bar.SetPos(1500);
  EXPECT_EQ(bar.GetPos(), 1000);
  int lower = -1, upper = -1;
  bar.GetRange(lower, upper);
  EXPECT_EQ(std::make_pair(lower, upper), std::make_pair(0, 1000));

  bar.Invalidate(false);
  Pump();
  const POINT centre = UiTest::CentreOf(bar.Handle());
  EXPECT_EQ(qm::ui::ScreenSurface().At(centre.x, centre.y), qm::ui::PixelFromColor(RGB(255, 0, 0)));
  form.DestroyWindow();
  EXPECT_EQ(bar.Handle(), nullptr);
}

TEST_F(FormTest, StandardControlCreatedThroughTheFrameworkKeepsItsBehaviour) {
  Form form;
  ASSERT_TRUE(form.Create());
  qm::fw::Button box;
  ASSERT_TRUE(box.Create("Tick", WS_VISIBLE | BS_AUTOCHECKBOX, RECT{10, 120, 110, 140}, &form, 1300));
  EXPECT_EQ(form.GetDlgItem(1300), &box);
  box.Click();
  EXPECT_EQ(box.GetCheck(), static_cast<int>(BST_CHECKED));
  EXPECT_EQ(box.GetWindowText(), "Tick");
  char className[32] = {};
  GetClassNameA(box.Handle(), className, sizeof className);
  EXPECT_STREQ(className, WC_BUTTONA);
  form.DestroyWindow();
  EXPECT_EQ(box.Handle(), nullptr);
}

TEST_F(FormTest, ModalDialogEndsWithTheButtonPressed) {
  class Modal : public Form {
   public:
    int button = IDOK;
    bool OnInitDialog() override {
      Form::OnInitDialog();
      SetDlgItemText(kEdit, "typed");
      PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button), BN_CLICKED), 0);
      return true;
    }
  };
  struct Row { int button; const char* text; };
  for (const Row& row : {Row{IDOK, "typed"}, Row{IDCANCEL, "first"}}) {
    SCOPED_TRACE(row.button);
    Modal modal;
    modal.button = row.button;
    EXPECT_EQ(modal.DoModal(), row.button);
    EXPECT_EQ(modal.text, row.text);
    EXPECT_EQ(modal.Handle(), nullptr);
  }
}

class SelfDeletingForm : public Form {
 public:
  explicit SelfDeletingForm(bool& deleted) : deleted(deleted) {}
  ~SelfDeletingForm() override { deleted = true; }
  void OnOK() override {}
  void OnCancel() override {}

 protected:
  void PostNcDestroy() override {
    Form::PostNcDestroy();
    delete this;
  }

 private:
  bool& deleted;
};

TEST_F(FormTest, ModelessDialogThatDeletesItselfGoesWithItsWindow) {
  bool deleted = false;
  auto* form = new SelfDeletingForm(deleted);
  ASSERT_TRUE(form->Create());
  HWND window = form->Handle();
  // Enter and Esc do not end it; only its creator does.
  form->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  form->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(deleted);

  DestroyWindow(window);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(qm::fw::Window::FromHandlePermanent(window), nullptr);
}

TEST_F(WindowDialogTest, LookupsGiveObjectsForOwnedAndUnownedWindows) {
  FrameWindow owner;
  ASSERT_TRUE(owner.CreateEx(0, qm::fw::RegisterWindowClass(0, nullptr, nullptr, nullptr).c_str(), "Owner",
                             WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  qm::fw::PropertySheet sheet("Owned", &owner);
  sheet.SetWizardMode();
  ASSERT_TRUE(sheet.Create());
  EXPECT_EQ(sheet.GetParent(), &owner);

  qm::fw::Window* next = sheet.GetDlgItem(ID_WIZNEXT);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Handle(), GetDlgItem(sheet.Handle(), ID_WIZNEXT));
  EXPECT_EQ(sheet.GetDlgItem(ID_WIZNEXT), next);
  next->SetWindowText("&Next");
  EXPECT_EQ(next->GetWindowText(), "&Next");
  EXPECT_EQ(sheet.GetDlgItem(4242), nullptr);

  sheet.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(WindowDialogTest, StringsLoadByIdAndMissingOnesAreReported) {
  const std::string longText(700, 'x');
  qm::ui::RegisterStringResource(4711, "Install");
  qm::ui::RegisterStringResource(4713, longText);
  struct Row { UINT id; bool found; std::string expected; };
  for (const Row& row : {Row{4711, true, "Install"}, Row{4712, false, "kept"}, Row{4713, true, longText}}) {
    SCOPED_TRACE(row.id);
    std::string text = "kept";
    EXPECT_EQ(qm::fw::LoadString(row.id, text), row.found);
    EXPECT_EQ(text, row.expected);
  }
  EXPECT_EQ(qm::fw::Format("%s %s:", "Available on", "C:\\"), "Available on C:\\:");
  EXPECT_EQ(qm::fw::Format("%ld Kb", 1234L), "1234 Kb");
}

}  // namespace
}  // namespace qm::test
