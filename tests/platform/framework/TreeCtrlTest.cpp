// The tree control on the framework: a dialog binds it and a button by data
// exchange and hears the tree's notifications and the controls' commands
// through message-map entries, the way the folder chooser is built.
#include <string>
#include <vector>

#include "FrameworkTest.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/TreeCtrl.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

constexpr UINT kChooserTemplate = 845;
constexpr int kPath = 1051, kGo = 1052, kTree = 1049;

int ByParamDescending(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }

class Chooser : public qm::fw::Dialog {
 public:
  Chooser() : Dialog(kChooserTemplate) {
    MapNotify(TVN_ITEMEXPANDINGA, kTree, &Chooser::OnItemExpanding);
    MapNotify(TVN_SELCHANGEDA, kTree, &Chooser::OnSelChanged);
    MapNotify(TVN_DELETEITEMA, kTree, &Chooser::OnDeleteItem);
    MapNotify(NM_RCLICK, kTree, &Chooser::OnRightClick);
    MapCommand(BN_CLICKED, kGo, &Chooser::OnGo);
    MapCommand(EN_CHANGE, kPath, &Chooser::OnPathChange);
  }

  qm::fw::TreeCtrl tree;
  qm::fw::Button goButton;
  std::vector<std::string> events;
  int deleted = 0;
  UINT itemsAtClose = 0;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override {
    qm::fw::DdxControl(exchange, kTree, tree);
    qm::fw::DdxControl(exchange, kGo, goButton);
  }

  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    HTREEITEM drives = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN, "Drives", 0, 0, 0, 0, 1, TVI_ROOT,
                                       TVI_LAST);
    TVITEMA promise{};
    promise.mask = TVIF_CHILDREN | TVIF_HANDLE;
    promise.hItem = drives;
    promise.cChildren = 1;
    tree.SetItem(&promise);
    tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "Empty", 0, 0, 0, 0, 2, TVI_ROOT, TVI_LAST);
    return true;
  }

  void OnOK() override {
    itemsAtClose = tree.GetCount();
    Dialog::OnOK();
  }

 private:
  void OnItemExpanding(NMHDR* header, LRESULT* result) {
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
    if (tree.GetItemState(nm->itemNew.hItem, TVIS_EXPANDEDONCE)) return;
    events.push_back("load " + tree.GetItemText(nm->itemNew.hItem));
    for (LPARAM i = 10; i < 13; ++i)
      tree.InsertItem(TVIF_TEXT | TVIF_PARAM, ("drive " + std::to_string(i)).c_str(), 0, 0, 0, 0, i,
                      nm->itemNew.hItem, TVI_LAST);
    TVSORTCB sort{nm->itemNew.hItem, ByParamDescending, 0};
    tree.SortChildrenCB(&sort);
    *result = 0;
  }

  void OnSelChanged(NMHDR* header, LRESULT*) {
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
    SetDlgItemText(kPath, nm->itemNew.hItem ? tree.GetItemText(nm->itemNew.hItem) : "");
  }

  void OnDeleteItem(NMHDR*, LRESULT*) { ++deleted; }

  // As the folder tree does: the item under the pointer becomes the selection.
  void OnRightClick(NMHDR*, LRESULT*) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(tree.Handle(), &cursor);
    UINT flags = 0;
    HTREEITEM hit = tree.HitTest(cursor, &flags);
    events.push_back("right click " + (hit ? tree.GetItemText(hit) : std::string("nowhere")) +
                     ((flags & TVHT_ONITEMLABEL) ? " label" : ""));
    tree.SelectItem(hit);
  }

  void OnGo() {
    HTREEITEM drives = tree.GetRootItem();
    HTREEITEM last = tree.GetChildItem(drives);
    while (HTREEITEM next = tree.GetNextSiblingItem(last)) last = next;
    events.push_back("go to " + tree.GetItemText(last) + " of " + tree.GetItemText(tree.GetParentItem(last)));
    tree.SetItemData(last, 99);
    tree.SelectItem(last);
  }

  void OnPathChange() { events.push_back("path " + GetDlgItemText(kPath)); }
};

class TreeCtrlTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    qm::ui::RegisterDialogResource(
        kChooserTemplate,
        DialogBoxTemplate("Choose Directory", 227, 156,
                          {Item(WC_EDITA, "", kPath, 7, 7, 184, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
                           Item(WC_BUTTONA, "Go", kGo, 194, 7, 26, 12, WS_TABSTOP),
                           Item(WC_TREEVIEWA, "Tree1", kTree, 7, 24, 213, 105,
                                   WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                       TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP),
                           Item(WC_BUTTONA, "OK", IDOK, 114, 135, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                           Item(WC_BUTTONA, "Cancel", IDCANCEL, 170, 135, 50, 14, WS_TABSTOP)}));
  }
};

TEST_F(TreeCtrlTest, MessageMapEntriesRouteTheTreesNotificationsAndTheControlsCommands) {
  Chooser chooser;
  Driver driver;
  driver.Wait("Choose Directory")
      .SelectItem(Id(kTree), {"Drives", "drive 11"})
      .Expect(Id(kPath), "drive 11")
      .Click(Text("Go"))
      .ExpectSelected(Id(kTree), {"Drives", "drive 10"})
      .RightClickItem(Id(kTree), {"Empty"})
      .ExpectSelected(Id(kTree), {"Empty"})
      .Click(Text("OK"));
  EXPECT_EQ(chooser.DoModal(), IDOK);
  EXPECT_EQ(driver.StepsLeft(), 0u);
  EXPECT_EQ(chooser.events, (std::vector<std::string>{"load Drives", "path drive 11", "go to drive 10 of Drives",
                                                      "path drive 10", "right click Empty label", "path Empty"}));
  EXPECT_EQ(chooser.itemsAtClose, 5u);
  EXPECT_EQ(chooser.deleted, 5) << "the dialog's end deletes every item, each with its notification";
  EXPECT_EQ(chooser.tree.Handle(), nullptr) << "the bound control went with the dialog";
}

}  // namespace
}  // namespace qm::test
