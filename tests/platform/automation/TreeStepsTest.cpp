// Tree views driven as a user would, through response-script steps: a
// folder dialog whose tree loads each folder's children when it is first
// opened, as a shell tree does.
#include <functional>
#include <map>
#include <set>

#include "AutomationTestSupport.h"
#include "platform/dialogs/DialogTestSupport.h"
#include "platform/ui/automation/TreeSupport.h"
#include "support/Scripted.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;
using Lines = std::vector<std::string>;

constexpr int kTree = 1049;

DialogTemplate FolderDialog() {
  return Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 227, 156, "Choose Directory",
                {Item(WC_TREEVIEWA, "Tree1", kTree, 7, 7, 213, 122,
                      WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                          TVS_DISABLEDRAGDROP),
                 Item(WC_BUTTONA, "OK", IDOK, 114, 135, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "Cancel", IDCANCEL, 170, 135, 50, 14, WS_TABSTOP)});
}

// What the folders hold, by the path of their parameters: each item's
// parameter is its number in `names`.
struct Folders {
  std::vector<std::string> names;
  std::map<int, std::vector<int>> children;  // loaded when the folder first opens
  std::set<int> locked;                      // refuses to open
};

struct Record {
  int loads = 0;
  int deleted = 0;
  std::vector<std::pair<std::string, std::string>> selections;  // old and new texts
  int rightClicks = 0;
  int itemsAtClose = 0;
};

Folders* folders = nullptr;
Record* record = nullptr;

std::string TextOf(HWND tree, HTREEITEM item) { return item ? ItemText(tree, item) : "(none)"; }

void AddChildren(HWND tree, HTREEITEM parent, int folder) {
  for (int child : folders->children[folder]) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(folders->names[static_cast<std::size_t>(child)].c_str());
    insert.item.lParam = child;
    insert.item.cChildren = folders->children.count(child) || folders->locked.count(child) ? 1 : 0;
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  }
}

int ByName(LPARAM a, LPARAM b, LPARAM) {
  return folders->names[static_cast<std::size_t>(a)].compare(folders->names[static_cast<std::size_t>(b)]);
}

LONG_PTR Answer(HWND dialog, LRESULT value) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, value);
  return TRUE;
}

LONG_PTR FolderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND tree = GetDlgItem(dialog, kTree);
  switch (message) {
    case WM_INITDIALOG: {
      AddChildren(tree, TVI_ROOT, 0);
      TVSORTCB sort{TVI_ROOT, ByName, 0};
      SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        record->itemsAtClose = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
        EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
    case WM_NOTIFY: {
      const auto& nm = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
      switch (nm.hdr.code) {
        case TVN_ITEMEXPANDINGA: {
          int folder = static_cast<int>(nm.itemNew.lParam);
          if (folders->locked.count(folder)) return Answer(dialog, 1);
          if (nm.action == TVE_EXPAND && !(nm.itemNew.state & TVIS_EXPANDEDONCE)) {
            ++record->loads;
            AddChildren(tree, nm.itemNew.hItem, folder);
            TVSORTCB sort{nm.itemNew.hItem, ByName, 0};
            SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
          }
          return Answer(dialog, 0);
        }
        case TVN_SELCHANGEDA:
          record->selections.emplace_back(TextOf(tree, nm.itemOld.hItem), TextOf(tree, nm.itemNew.hItem));
          return Answer(dialog, 0);
        case TVN_DELETEITEMA: ++record->deleted; return Answer(dialog, 0);
        case NM_RCLICK: ++record->rightClicks; return Answer(dialog, 0);
        default: return FALSE;
      }
    }
    default: return FALSE;
  }
}

INT_PTR ShowFolderDialog() {
  DialogTemplate dialog = FolderDialog();
  return DialogBoxIndirectParamA(nullptr, &dialog, nullptr, FolderProc, 0);
}

class TreeStepsTest : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    // 0 is the desktop; its children are the top level.
    data.names = {"Desktop", "My Computer", "Recycle Bin", "(C:)", "(D:)", "Windows", "Games", "Quellmoor", "Arcade",
                  "Network"};
    data.children = {{0, {2, 1, 9}}, {1, {4, 3}}, {3, {6, 5}}, {6, {7, 8}}};
    data.locked = {9};
    folders = &data;
    record = &result;
  }
  void TearDown() override {
    folders = nullptr;
    record = nullptr;
    AutomationTest::TearDown();
  }

  static INT_PTR Run(const std::string& script) { return RunScripted(script, ShowFolderDialog); }
  // The failure of steps that begin once the dialog is up.
  static std::string Failure(const std::function<void(Driver&)>& steps) {
    return FailureInWindow("Choose Directory", steps, ShowFolderDialog);
  }

  Folders data;
  Record result;
};

TEST_F(TreeStepsTest, ItemsOpenAsTheUserClicksTheirWayDownAndLoadOnce) {
  INT_PTR answer = Run(R"script(
wait "Choose Directory"
expect-items 1049 "My Computer" "Network" "Recycle Bin"     # sorted by the program's callback
select-item 1049 "My Computer" "(C:)" "Games"
expect-selected 1049 "My Computer" "(C:)" "Games"
expect-items 1049 "My Computer" "  (C:)" "    Games" "    Windows" "  (D:)" "Network" "Recycle Bin"
collapse-item 1049 "My Computer" "(C:)"
expect-selected 1049 "My Computer" "(C:)"                   # the selection came up out of the closed folder
expand-item 1049 "My Computer" "(C:)"
expand-item 1049 "My Computer" "(C:)" "Games"
expect-items 1049 "My Computer" "  (C:)" "    Games" "      Arcade" "      Quellmoor" "    Windows" "  (D:)" "Network" "Recycle Bin"
expand-item 1049 "Network"                                  # the program refuses
expect-items 1049 "My Computer" "  (C:)" "    Games" "      Arcade" "      Quellmoor" "    Windows" "  (D:)" "Network" "Recycle Bin"
select-item 1049 "My Computer" "(C:)" "Games" "Quellmoor"
key Left
expect-selected 1049 "My Computer" "(C:)" "Games"
key Left
key Left
expect-items 1049 "My Computer" "  (C:)" "    Games" "    Windows" "  (D:)" "Network" "Recycle Bin"
key Right                                                   # (C:) is open: down to Games
key Right                                                   # Games opens
key Right                                                   # down to Arcade
expect-selected 1049 "My Computer" "(C:)" "Games" "Arcade"
right-click-item 1049 "Recycle Bin"
expect-selected 1049 "My Computer" "(C:)" "Games" "Arcade"
click "OK"
)script");
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(result.loads, 3) << "My Computer, (C:) and Games, each once however often they open";
  EXPECT_EQ(result.rightClicks, 1);
  EXPECT_EQ(result.itemsAtClose, 9);
  EXPECT_EQ(result.deleted, result.itemsAtClose) << "every item is deleted with the dialog";
  ASSERT_GE(result.selections.size(), 3u);
  EXPECT_EQ(result.selections[0], (std::pair<std::string, std::string>{"(none)", "Games"}));
  EXPECT_EQ(result.selections[1], (std::pair<std::string, std::string>{"Games", "(C:)"}));
  EXPECT_EQ(result.selections[2], (std::pair<std::string, std::string>{"(C:)", "Quellmoor"}));
}

TEST_F(TreeStepsTest, AFailedLookupNamesWhatTheTreeHolds) {
  const std::string failure = Failure([](Driver& d) { d.SelectItem(Id(kTree), {"My Computer", "(E:)"}); });
  EXPECT_NE(failure.find("select-item 1049 (0x419) \"My Computer\" \"(E:)\": no item \"(E:)\" under \"My Computer\""),
            std::string::npos)
      << failure;
  EXPECT_NE(failure.find("the items there: \"(C:)\" \"(D:)\""), std::string::npos) << failure;
  EXPECT_NE(failure.find("\n  My Computer\n    (C:)\n    (D:)\n  Network"), std::string::npos)
      << "and what the tree shows: " << failure;
}

TEST_F(TreeStepsTest, ExpectationsThatDoNotHoldSayWhatIsThere) {
  std::tuple<const char*, std::function<void(Driver&)>, const char*> rows[] = {
      {"selection", [](Driver& d) { d.ExpectSelected(Id(kTree), {"Network"}); }, "nothing is selected"},
      {"items", [](Driver& d) { d.ExpectItems(Id(kTree), {"Network"}); },
       "the tree shows:\n  My Computer\n  Network\n  Recycle Bin\nexpected:\n  Network"},
      {"a leaf on the way", [](Driver& d) { d.SelectItem(Id(kTree), {"Recycle Bin", "Old"}); },
       "no item \"Old\" under \"Recycle Bin\"; the items there: none"},
  };
  for (const auto& [name, step, message] : rows) {
    SCOPED_TRACE(name);
    const std::string failure = Failure(step);
    EXPECT_NE(failure.find(message), std::string::npos) << failure;
  }
}

TEST_F(TreeStepsTest, ScriptTreeStepsNeedAControlAndQuotedTexts) {
  std::pair<const char*, const char*> rows[] = {
      {"select-item 1049", "line 1: select-item needs the item's path of texts"},
      {"expand-item 1049 Games", "line 1: the item texts are quoted: \"Games\""},
      {"collapse-item", "line 1: expected collapse-item id \"text\" ..."},
  };
  for (const auto& [line, message] : rows) {
    SCOPED_TRACE(line);
    Driver driver;
    EXPECT_EQ(LoadScriptError(driver, line), message);
  }
  Driver driver;
  LoadScript(driver, "expect-selected 1049\nright-click-item \"Tree1\" \"A\" \"B\"\nkey Multiply");
  EXPECT_EQ(driver.PendingSteps(),
            (std::vector<std::string>{"expect-selected 1049 (0x419)", "right-click-item \"Tree1\" \"A\" \"B\"",
                                      "key Multiply"}));
}

}  // namespace
}  // namespace qm::test
