// The combo box on the framework, the way the folder chooser binds its path
// field: data exchange binds the member to control 1051, message-map entries
// take the CBN_ codes the user's typing and choosing send, and the program's
// own text (SetWindowText) sends none of them.
#include <string>
#include <vector>

#include "FrameworkTest.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

constexpr UINT kTemplate = 846;
constexpr int kPath = 1051;

class PathDialog : public qm::fw::Dialog {
 public:
  PathDialog() : Dialog(kTemplate) {
    MapCommand(CBN_EDITUPDATE, kPath, &PathDialog::OnEditUpdate);
    MapCommand(CBN_EDITCHANGE, kPath, &PathDialog::OnEditChange);
    MapCommand(CBN_SELCHANGE, kPath, &PathDialog::OnSelChange);
    MapCommand(CBN_SELENDOK, kPath, &PathDialog::OnSelEndOk);
    MapCommand(CBN_CLOSEUP, kPath, &PathDialog::OnCloseUp);
  }

  qm::fw::ComboBox pathCombo;
  std::vector<std::string> events;
  int selectionAtOk = -2;
  std::string entryAtOk;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override { qm::fw::DdxControl(exchange, kPath, pathCombo); }

  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    pathCombo.SetWindowText("C:\\Games");  // the program's text: no notification
    for (const char* entry : {"C:\\Games", "D:\\Other", "E:\\Third"}) pathCombo.AddString(entry);
    return true;
  }

  void OnOK() override {
    selectionAtOk = pathCombo.GetCurSel();
    if (selectionAtOk >= 0) pathCombo.GetLBText(selectionAtOk, entryAtOk);
    Dialog::OnOK();
  }

 private:
  void Record(const char* code) { events.push_back(std::string(code) + " " + pathCombo.GetWindowText()); }
  void OnEditUpdate() { Record("editupdate"); }
  void OnEditChange() { Record("editchange"); }
  void OnSelChange() { Record("selchange"); }
  void OnSelEndOk() { Record("selendok"); }
  void OnCloseUp() { Record("closeup"); }
};

class FrameworkComboBoxTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    qm::ui::RegisterDialogResource(
        kTemplate, DialogBoxTemplate("Choose Directory", 227, 60,
                                     {Item(WC_COMBOBOXA, "", kPath, 7, 7, 184, 128,
                                              CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP),
                                      Item(WC_BUTTONA, "OK", IDOK, 114, 35, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                                      Item(WC_BUTTONA, "Cancel", IDCANCEL, 170, 35, 50, 14, WS_TABSTOP)}));
  }
};

TEST_F(FrameworkComboBoxTest, BoundComboHearsTypingAndChoosingThroughItsMapEntries) {
  PathDialog dialog;
  Driver driver;
  driver.Wait("Choose Directory")
      .Expect(Id(kPath), "C:\\Games")
      .Key("End")
      .Type("X")
      .ChooseEntry(Id(kPath), "D:\\Other")
      .Click(Text("OK"));
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(driver.StepsLeft(), 0u);
  // The text is shown when CBN_EDITCHANGE comes, not yet when CBN_EDITUPDATE does;
  // either reads the new text. Choosing reports after the list is closed up,
  // and CBN_SELCHANGE still reads the old text: the field shows the entry after it.
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"editupdate C:\\GamesX", "editchange C:\\GamesX",
                                                     "selendok C:\\GamesX", "closeup C:\\GamesX",
                                                     "selchange C:\\GamesX"}));
  EXPECT_EQ(dialog.selectionAtOk, 1);
  EXPECT_EQ(dialog.entryAtOk, "D:\\Other");
  EXPECT_EQ(dialog.pathCombo.Handle(), nullptr) << "the bound control went with the dialog";
}

}  // namespace
}  // namespace qm::test
