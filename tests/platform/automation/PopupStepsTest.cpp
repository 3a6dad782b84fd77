// Popup menus and combo boxes driven as a user would, through response-script
// steps: a right-clicked tree item opens a menu whose command the program
// takes, and a combo box is opened and an entry chosen with the
// notifications a program on the original platform meets.
#include <functional>

#include "AutomationTestSupport.h"
#include "platform/dialogs/DialogTestSupport.h"
#include "support/Scripted.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

constexpr int kCombo = 1051;
constexpr int kTree = 1049;
enum Command : UINT { kOpen = 1, kExplore = 2, kDelete = 3, kProperties = 4 };

DialogTemplate FolderDialog() {
  return Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 227, 156, "Choose Directory",
                {Item(WC_COMBOBOXA, "", kCombo, 7, 7, 184, 128,
                      CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP),
                 Item(WC_TREEVIEWA, "Tree1", kTree, 7, 24, 213, 105,
                      WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
                 Item(WC_BUTTONA, "OK", IDOK, 114, 135, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "Cancel", IDCANCEL, 170, 135, 50, 14, WS_TABSTOP)});
}

// `commands` are TrackPopupMenu's answers.
struct Record { std::vector<UINT> commands; std::vector<WORD> comboCodes; std::string textAtClose; };
Record* record = nullptr;

LONG_PTR FolderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND combo = GetDlgItem(dialog, kCombo);
      // More entries than the list shows: the last must be scrolled to.
      for (int i = 0; i < 12; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("C:\\Games\\" + std::to_string(i)).c_str()));
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("D:\\Other"));
      TVINSERTSTRUCTA insert{};
      insert.hParent = TVI_ROOT;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT;
      insert.item.pszText = const_cast<char*>("My Computer");
      SendMessageA(GetDlgItem(dialog, kTree), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kCombo && HIWORD(wParam) != CBN_SETFOCUS && HIWORD(wParam) != CBN_KILLFOCUS)
        record->comboCodes.push_back(HIWORD(wParam));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dialog, kCombo, text, sizeof text);
        record->textAtClose = text;
        EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == NM_RCLICK) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING | MF_DEFAULT, kOpen, "&Open");
        AppendMenuA(menu, MF_STRING, kExplore, "E&xplore");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING | MF_GRAYED, kDelete, "&Delete");
        AppendMenuA(menu, MF_STRING, kProperties, "P&roperties");
        POINT at{};
        GetCursorPos(&at);
        record->commands.push_back(
            static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr)));
        DestroyMenu(menu);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR ShowFolderDialog() {
  DialogTemplate dialog = FolderDialog();
  return DialogBoxIndirectParamA(nullptr, &dialog, nullptr, FolderProc, 0);
}

class PopupStepsTest : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    record = &result;
  }
  void TearDown() override {
    record = nullptr;
    AutomationTest::TearDown();
  }
  static INT_PTR Run(const std::string& script) { return RunScripted(script, ShowFolderDialog); }
  // The failure of a driver holding one step after the dialog is up.
  static std::string Failure(const std::function<void(Driver&)>& steps) {
    return FailureInWindow("Choose Directory", steps, ShowFolderDialog);
  }

  Record result;
};

TEST_F(PopupStepsTest, MenuCommandsAndComboEntriesAreChosenByTheirTexts) {
  INT_PTR answer = Run(R"script(
wait "Choose Directory"
right-click-item 1049 "My Computer"
choose-menu "P&roperties"
right-click-item 1049 "My Computer"
key Esc
right-click-item 1049 "My Computer"
choose-menu "&Open"
choose-entry 1051 "D:\Other"       # below the rows the list shows
expect 1051 "D:\Other"
drop-down 1051
choose-entry 1051 "C:\Games\3"     # the list is open already
click "OK"
)script");
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(result.commands, (std::vector<UINT>{kProperties, 0, kOpen})) << "Esc answers 0";
  EXPECT_EQ(result.comboCodes, (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE,  // a choice
                                                  CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(result.textAtClose, "C:\\Games\\3");
}

TEST_F(PopupStepsTest, AStepThatCannotBeDoneNamesWhatIsThere) {
  std::tuple<const char*, std::function<void(Driver&)>, const char*> rows[] = {
      {"no such item",
       [](Driver& d) { d.RightClickItem(Id(kTree), {"My Computer"}).ChooseMenuItem("Open"); },
       "no item \"Open\" in the popup menu; its items: \"&Open\" \"E&xplore\" - \"&Delete\" (greyed) \"P&roperties\""},
      {"greyed item", [](Driver& d) { d.RightClickItem(Id(kTree), {"My Computer"}).ChooseMenuItem("&Delete"); },
       "the menu item \"&Delete\" is greyed"},
      {"no menu open", [](Driver& d) { d.ChooseMenuItem("&Open"); }, "no popup menu is open"},
      {"no such entry", [](Driver& d) { d.ChooseEntry(Id(kCombo), "E:\\"); },
       "no entry \"E:\\\" in the combo box 1051 (0x41b); its entries: \"C:\\Games\\0\""},
      {"not a combo box", [](Driver& d) { d.DropDown(Id(IDOK)); }, "is no combo box"},
  };
  for (const auto& [name, steps, message] : rows) {
    SCOPED_TRACE(name);
    const std::string failure = Failure(steps);
    EXPECT_NE(failure.find(message), std::string::npos) << failure;
  }
}

TEST_F(PopupStepsTest, TheOpenWindowsShowTheMenusItemsAndTheComboEntries) {
  const std::string failure = Failure([](Driver& d) {
    d.RightClickItem(Id(kTree), {"My Computer"}).Expect(Id(kCombo), "nothing like it");
  });
  EXPECT_NE(failure.find("(class #32768) items: \"&Open\" \"E&xplore\" - \"&Delete\" (greyed) \"P&roperties\""),
            std::string::npos)
      << failure;
  EXPECT_NE(failure.find("entries: \"C:\\Games\\0\" \"C:\\Games\\1\""), std::string::npos) << failure;
}

TEST_F(PopupStepsTest, ScriptLinesOfTheWrongFormNameTheirLine) {
  std::pair<const char*, const char*> rows[] = {
      {"choose-menu Open", "line 1: expected choose-menu \"text\""},
      {"drop-down", "line 1: expected drop-down id"},
      {"\nchoose-entry 1051", "line 2: expected choose-entry id \"text\""},
  };
  for (const auto& [script, message] : rows) {
    SCOPED_TRACE(script);
    Driver driver;
    const std::string error = LoadScriptError(driver, script);
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qm::test
