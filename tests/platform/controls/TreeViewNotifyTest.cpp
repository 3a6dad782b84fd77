#include "TreeViewTestSupport.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

using Texts = std::vector<std::string>;
using Codes = std::vector<UINT>;

Codes ExpandCodes() { return TreeTest::CodesOf({TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}); }

TEST_F(TreeTest, FirstExpansionOfAPromisedItemLetsTheProgramAddItsChildrenAndLaterOnesNotifyNothing) {
  HWND tree = MakeTree();
  HTREEITEM folder = Insert(tree, "folder", TVI_ROOT, TVI_LAST, 0, 1);
  Insert(tree, "after");
  int loads = 0;
  answer = [&](const NMHDR& header) -> std::optional<LRESULT> {
    if (header.code != TVN_ITEMEXPANDINGA) return std::nullopt;
    const auto& nm = reinterpret_cast<const NMTREEVIEWA&>(header);
    EXPECT_EQ(nm.itemNew.hItem, folder);
    if (nm.action == TVE_EXPAND && !(nm.itemNew.state & TVIS_EXPANDEDONCE)) {
      ++loads;
      Insert(tree, "one", folder);
      Insert(tree, "two", folder);
    }
    return 0;
  };
  EXPECT_TRUE(Expand(tree, folder));
  EXPECT_EQ(ExpandCodes(), (Codes{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
  EXPECT_EQ(State(tree, folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  EXPECT_EQ(Shown(tree), (Texts{"folder", "one", "two", "after"}));
  ASSERT_EQ(NotesOf(TVN_ITEMEXPANDEDA).size(), 1u);
  EXPECT_TRUE(NotesOf(TVN_ITEMEXPANDEDA)[0].newState & TVIS_EXPANDED);

  notes.clear();
  EXPECT_TRUE(Expand(tree, folder, TVE_COLLAPSE));
  EXPECT_TRUE(Expand(tree, folder, TVE_EXPAND));
  EXPECT_TRUE(Expand(tree, folder, TVE_TOGGLE));
  EXPECT_TRUE(ExpandCodes().empty()) << "TVM_EXPAND notifies only until the item was expanded once";
  EXPECT_EQ(Shown(tree), (Texts{"folder", "after"}));

  // The user's expansions always notify; the state tells the program the children are there.
  ClickButton(tree, folder);
  ClickButton(tree, folder);
  ClickButton(tree, folder);
  EXPECT_EQ(ExpandCodes().size(), 6u);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(Children(tree, folder), (Texts{"one", "two"}));
  EXPECT_TRUE(State(tree, folder, TVIS_EXPANDED));
}

TEST_F(TreeTest, NonZeroExpandingAnswerKeepsTheItemAsItIs) {
  struct Row {
    const char* name;
    bool expandedBefore;
    bool byUser;
  } rows[] = {{"expand by message", false, false}, {"expand by click", false, true}, {"collapse by click", true, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND tree = MakeTree();
    HTREEITEM folder = Insert(tree, "folder");
    Insert(tree, "inside", folder);
    if (row.expandedBefore) Expand(tree, folder);
    notes.clear();
    Refuse({TVN_ITEMEXPANDINGA});
    if (row.byUser)
      ClickButton(tree, folder);
    else
      EXPECT_FALSE(Expand(tree, folder));
    EXPECT_EQ(ExpandCodes(), Codes{TVN_ITEMEXPANDINGA}) << "no TVN_ITEMEXPANDED follows";
    EXPECT_EQ((State(tree, folder) & TVIS_EXPANDED) != 0, row.expandedBefore);
    answer = {};
    DestroyWindow(frame);
  }
}

TEST_F(TreeTest, PromisedChildrenThatNeverComeTakeTheButtonAway) {
  HWND tree = MakeTree();
  HTREEITEM empty = Insert(tree, "empty", TVI_ROOT, TVI_LAST, 0, 1);
  EXPECT_FALSE(Expand(tree, empty));
  EXPECT_FALSE(State(tree, empty, TVIS_EXPANDED));
  EXPECT_EQ(ChildrenFlag(tree, empty), 0);
  TVHITTESTINFO hit{ButtonPoint(tree, empty), 0, nullptr};
  SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  EXPECT_EQ(hit.flags, TVHT_ONITEMINDENT) << "no button left to hit";
}

TEST_F(TreeTest, SelectionChangesCarryTheOldAndNewItemAndHowTheyCameAbout) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "a");
  HTREEITEM b = Insert(tree, "b");
  EXPECT_TRUE(SelectItem(tree, a));
  EXPECT_TRUE(SelectItem(tree, a)) << "selecting the selection again";
  ClickItem(tree, b);
  SetFocus(tree);
  Key(VK_UP);
  EXPECT_TRUE(SelectItem(tree, nullptr));
  std::vector<TreeNote> changed = NotesOf(TVN_SELCHANGEDA);
  std::vector<TreeNote> changing = NotesOf(TVN_SELCHANGINGA);
  ASSERT_EQ(changed.size(), 4u);
  ASSERT_EQ(changing.size(), 4u);
  struct Expected { HTREEITEM oldItem, newItem; UINT action; } expected[] = {
      {nullptr, a, TVC_UNKNOWN}, {a, b, TVC_BYMOUSE}, {b, a, TVC_BYKEYBOARD}, {a, nullptr, TVC_UNKNOWN}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(changed[i].oldItem, expected[i].oldItem);
    EXPECT_EQ(changed[i].newItem, expected[i].newItem);
    EXPECT_EQ(changed[i].action, expected[i].action);
    EXPECT_EQ(changing[i].newItem, expected[i].newItem);
  }
  EXPECT_EQ(Next(tree, TVGN_CARET), nullptr);
  EXPECT_EQ(State(tree, a, TVIS_SELECTED), 0u);
}

TEST_F(TreeTest, RefusedSelectionChangeKeepsTheSelection) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "a");
  HTREEITEM b = Insert(tree, "b");
  SelectItem(tree, a);
  Refuse({TVN_SELCHANGINGA});
  EXPECT_FALSE(SelectItem(tree, b));
  ClickItem(tree, b);
  EXPECT_EQ(Next(tree, TVGN_CARET), a);
  EXPECT_TRUE(State(tree, a, TVIS_SELECTED));
  EXPECT_EQ(NotesOf(TVN_SELCHANGEDA).size(), 1u);
}

TEST_F(TreeTest, SelectingAHiddenItemExpandsItsParentsFirst) {
  HWND tree = MakeTree();
  HTREEITEM top = Insert(tree, "top");
  HTREEITEM middle = Insert(tree, "middle", top);
  HTREEITEM deep = Insert(tree, "deep", middle);
  notes.clear();
  SelectItem(tree, deep);
  EXPECT_EQ(CodesOf(), (Codes{TVN_SELCHANGINGA, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDINGA,
                          TVN_ITEMEXPANDEDA, TVN_SELCHANGEDA}));
  EXPECT_EQ(notes[1].newItem, top) << "from the top down";
  EXPECT_EQ(Shown(tree), (Texts{"top", "middle", "deep"}));
}

TEST_F(TreeTest, CollapsingAnAncestorOfTheSelectionSelectsTheCollapsedItem) {
  HWND tree = MakeTree();
  HTREEITEM top = Insert(tree, "top");
  HTREEITEM child = Insert(tree, "child", top);
  SelectItem(tree, child);
  notes.clear();
  ClickButton(tree, top);
  EXPECT_EQ(Next(tree, TVGN_CARET), top);
  ASSERT_EQ(NotesOf(TVN_SELCHANGEDA).size(), 1u);
  EXPECT_EQ(NotesOf(TVN_SELCHANGEDA)[0].oldItem, child);
}

TEST_F(TreeTest, CollapseResetDeletesTheChildrenAndTheExpandedOnceMark) {
  HWND tree = MakeTree();
  HTREEITEM folder = Insert(tree, "folder", TVI_ROOT, TVI_LAST, 0, 1);
  Insert(tree, "one", folder);
  Expand(tree, folder);
  notes.clear();
  EXPECT_TRUE(Expand(tree, folder, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(NotesOf(TVN_DELETEITEMA).size(), 1u);
  EXPECT_EQ(State(tree, folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);
  notes.clear();
  Expand(tree, folder);
  EXPECT_EQ(NotesOf(TVN_ITEMEXPANDINGA).size(), 1u) << "it may load its children again";
}

TEST_F(TreeTest, HitTestNamesThePartOfTheRowUnderThePoint) {
  HWND tree = MakeTree();
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  ImageList_AddIcon(images, LoadIconA(nullptr, IDI_APPLICATION));
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  HTREEITEM top = Insert(tree, "top");
  HTREEITEM child = Insert(tree, "child", top);
  Expand(tree, top);
  RECT label = Label(tree, child);
  int middle = (label.top + label.bottom) / 2;
  POINT button = ButtonPoint(tree, child, 16);
  POINT topButton = ButtonPoint(tree, top, 16);
  struct Row { const char* name; POINT at; UINT flags; HTREEITEM item; } rows[] = {
      {"label", {label.left + 3, middle}, TVHT_ONITEMLABEL, child},
      {"icon", {label.left - 8, middle}, TVHT_ONITEMICON, child},
      {"button", topButton, TVHT_ONITEMBUTTON, top},
      {"no button in the column of a leaf", button, TVHT_ONITEMINDENT, child},
      {"indent left of the column", {2, middle}, TVHT_ONITEMINDENT, child},
      {"right of the label", {label.right + 5, middle}, TVHT_ONITEMRIGHT, child},
      {"empty space below the items", {50, 150}, TVHT_NOWHERE, nullptr},
      {"above the client area", {50, -5}, TVHT_ABOVE, nullptr},
      {"right of the client area", {500, 10}, TVHT_TORIGHT, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TVHITTESTINFO hit{row.at, 0, nullptr};
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))),
              row.item);
    EXPECT_EQ(hit.hItem, row.item);
    EXPECT_EQ(hit.flags, row.flags);
  }
  DestroyWindow(frame);
  ImageList_Destroy(images);
}

TEST_F(TreeTest, EnsureVisibleOfADeepItemExpandsItsParentsAndScrollsItIntoView) {
  HWND tree = MakeTree(kClassicStyle, {200, 100});
  for (int i = 0; i < 30; ++i) Insert(tree, ("item " + std::to_string(i)).c_str());
  HTREEITEM top = Insert(tree, "last");
  HTREEITEM middle = Insert(tree, "middle", top);
  HTREEITEM deep = Insert(tree, "deep", middle);
  Pump();
  EXPECT_EQ(ItemText(tree, Next(tree, TVGN_FIRSTVISIBLE)), "item 0");
  EXPECT_FALSE(SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(deep)))
      << "it expanded parents, so the answer is zero";
  EXPECT_EQ(State(tree, top, TVIS_EXPANDED), TVIS_EXPANDED);
  EXPECT_EQ(State(tree, middle, TVIS_EXPANDED), TVIS_EXPANDED);
  int visible = static_cast<int>(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0));
  ASSERT_GT(visible, 2);
  RECT label = Label(tree, deep);
  EXPECT_GE(label.top, 0);
  EXPECT_LE(label.bottom, ClientRect(tree).bottom) << "the deep item is in view, at the bottom";
  EXPECT_NE(ItemText(tree, Next(tree, TVGN_FIRSTVISIBLE)), "item 0");

  HTREEITEM first = Next(tree, TVGN_ROOT);
  EXPECT_TRUE(SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(first))) << "only scrolled";
  EXPECT_EQ(Next(tree, TVGN_FIRSTVISIBLE), first);
  EXPECT_FALSE(SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(first))) << "nothing to do";
}

TEST_F(TreeTest, FocusAndClicksReportToTheParent) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "a");
  HTREEITEM b = Insert(tree, "b");
  Insert(tree, "inside", b);
  ClickItem(tree, a);
  EXPECT_EQ(GetFocus(), tree);
  POINT onB = OnScreen(tree, LabelPoint(tree, b));
  InjectClickAt(onB);
  InjectClickAt(onB);  // a double click opens the item
  Pump();
  EXPECT_TRUE(State(tree, b, TVIS_EXPANDED));
  Mouse(ui::InputKind::MouseDown, OnScreen(tree, LabelPoint(tree, a)), ui::MouseButton::Right);
  Pump();
  EXPECT_TRUE(NotesOf(NM_RCLICK).empty()) << "reported only when the button comes up";
  Mouse(ui::InputKind::MouseUp, OnScreen(tree, LabelPoint(tree, a)), ui::MouseButton::Right);
  Pump();
  EXPECT_EQ(NotesOf(NM_RCLICK).size(), 1u);
  EXPECT_EQ(contextMenus, 1) << "an unanswered NM_RCLICK becomes WM_CONTEXTMENU, handed to the parent";
  EXPECT_EQ(Next(tree, TVGN_CARET), b) << "a right click selects nothing by itself";
  SetFocus(frame);
  EXPECT_EQ(CodesOf({NM_SETFOCUS, NM_KILLFOCUS, NM_CLICK, NM_DBLCLK}),
            (Codes{NM_SETFOCUS, NM_CLICK, NM_CLICK, NM_DBLCLK, NM_KILLFOCUS}));

  Refuse({NM_RCLICK, NM_CLICK});
  Mouse(ui::InputKind::MouseDown, OnScreen(tree, LabelPoint(tree, a)), ui::MouseButton::Right);
  Mouse(ui::InputKind::MouseUp, OnScreen(tree, LabelPoint(tree, a)), ui::MouseButton::Right);
  ClickItem(tree, a);
  EXPECT_EQ(contextMenus, 1) << "a program that answers NM_RCLICK gets no WM_CONTEXTMENU";
  EXPECT_EQ(Next(tree, TVGN_CARET), b) << "a program that answers NM_CLICK takes the click";
}

}  // namespace
}  // namespace qm::test
