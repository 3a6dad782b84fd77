#include <algorithm>
#include <map>
#include <set>

#include "TreeViewTestSupport.h"

namespace qm::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(TreeTest, ItemsStandInTheOrderTheProgramInsertedThem) {
  HWND tree = MakeTree();
  HTREEITEM b = Insert(tree, "b");
  HTREEITEM a = Insert(tree, "a", TVI_ROOT, TVI_FIRST);
  Insert(tree, "c", TVI_ROOT, a);  // after a given sibling
  Insert(tree, "Bb", TVI_ROOT, TVI_SORT);  // by text ignoring case: before the first sibling coming after it
  HTREEITEM child = Insert(tree, "child", b);
  Insert(tree, "d", TVI_ROOT, child);  // "after" an item of another parent: at the end
  EXPECT_EQ(Children(tree), (Texts{"a", "Bb", "c", "b", "d"}));
  EXPECT_EQ(Children(tree, b), Texts{"child"});
  EXPECT_EQ(Next(tree, TVGN_PARENT, child), b);
  EXPECT_EQ(Next(tree, TVGN_PARENT, b), nullptr);
  EXPECT_EQ(Next(tree, TVGN_PREVIOUS, a), nullptr);
  EXPECT_EQ(Next(tree, TVGN_CHILD, nullptr), a) << "the child of no item is the first top-level item";
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(Insert(tree, "orphan", reinterpret_cast<HTREEITEM>(0x7777)), nullptr) << "an unknown parent";
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 6);
}

int Descending(LPARAM a, LPARAM b, LPARAM sign) { return static_cast<int>(sign * (b - a)); }

TEST_F(TreeTest, SortWithACallbackOrdersOneLevelByTheItemsParameters) {
  HWND tree = MakeTree();
  HTREEITEM top[3];
  for (int i = 0; i < 3; ++i) {
    std::string name = "top" + std::to_string(i);
    top[i] = Insert(tree, name.c_str(), TVI_ROOT, TVI_LAST, i);
    for (int j = 0; j < 3; ++j) {
      std::string childName = name + "." + std::to_string(j);
      HTREEITEM child = Insert(tree, childName.c_str(), top[i], TVI_LAST, j);
      Insert(tree, (childName + ".x").c_str(), child, TVI_LAST, 0);
    }
  }
  struct Row { const char* name; HTREEITEM parent; LPARAM sign; Texts top; Texts middle; } rows[] = {
      {"top level descending", TVI_ROOT, 1, {"top2", "top1", "top0"}, {"top1.0", "top1.1", "top1.2"}},
      {"one item's children descending", top[1], 1, {"top2", "top1", "top0"}, {"top1.2", "top1.1", "top1.0"}},
      {"and back ascending", top[1], -1, {"top2", "top1", "top0"}, {"top1.0", "top1.1", "top1.2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TVSORTCB sort{row.parent, Descending, row.sign};
    EXPECT_TRUE(SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Children(tree), row.top);
    EXPECT_EQ(Children(tree, top[1]), row.middle);
    EXPECT_EQ(Children(tree, top[0]), (Texts{"top0.0", "top0.1", "top0.2"})) << "other levels keep their order";
  }
}

int Contradictory(LPARAM a, LPARAM b, LPARAM) { return (a + b) % 3 - 1; }

TEST_F(TreeTest, ContradictorySortCallbackKeepsEveryItem) {
  HWND tree = MakeTree();
  for (int i = 0; i < 100; ++i) Insert(tree, std::to_string(i).c_str(), TVI_ROOT, TVI_LAST, i);
  TVSORTCB sort{nullptr, Contradictory, 0};
  SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  Texts texts = Children(tree);
  ASSERT_EQ(texts.size(), 100u);
  EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), 100u);
}

TEST_F(TreeTest, GetItemAnswersWhatTheMaskAsksAndSetItemChangesOnlyWhatItNames) {
  HWND tree = MakeTree();
  HTREEITEM item = Insert(tree, "Program Files", TVI_ROOT, TVI_LAST, 42, 1);
  char small[5] = "xxxx";
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  query.hItem = item;
  query.pszText = small;
  query.cchTextMax = sizeof small;
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)));
  EXPECT_STREQ(small, "Prog") << "the text is cut to the buffer, with its terminator";
  EXPECT_EQ(query.lParam, 42);
  EXPECT_EQ(query.cChildren, 1);
  EXPECT_EQ(query.iSelectedImage, 1);

  TVITEMA change{};
  change.mask = TVIF_STATE | TVIF_HANDLE;
  change.hItem = item;
  change.state = TVIS_EXPANDEDONCE | TVIS_BOLD;
  change.stateMask = TVIS_EXPANDEDONCE;
  ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)));
  EXPECT_EQ(State(tree, item), TVIS_EXPANDEDONCE) << "only the bits of the state mask change";
  EXPECT_EQ(State(tree, item, TVIS_SELECTED), 0u) << "the answer holds only the bits asked for";
  EXPECT_EQ(ItemText(tree, item), "Program Files");

  HTREEITEM plain = Insert(tree, "plain");
  EXPECT_EQ(ChildrenFlag(tree, plain), 0);
  Insert(tree, "kid", plain);
  EXPECT_EQ(ChildrenFlag(tree, plain), 1) << "without a flag of its own an item has children when it has them";

  query = TVITEMA{};
  query.mask = TVIF_CHILDREN;
  query.hItem = reinterpret_cast<HTREEITEM>(0x4242);
  EXPECT_FALSE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)));
}

TEST_F(TreeTest, DeletingSendsDeleteItemForEveryItemChildrenBeforeParents) {
  HWND tree = MakeTree();
  std::map<HTREEITEM, HTREEITEM> parentOf;
  int count = 0;
  HTREEITEM keep = nullptr;
  for (int i = 0; i < 3; ++i) {
    HTREEITEM top = Insert(tree, "top", TVI_ROOT, TVI_LAST, ++count);
    if (i == 0) keep = top;
    parentOf[top] = nullptr;
    for (int j = 0; j < 2; ++j) {
      HTREEITEM middle = Insert(tree, "middle", top, TVI_LAST, ++count);
      parentOf[middle] = top;
      for (int k = 0; k < 2; ++k) parentOf[Insert(tree, "leaf", middle, TVI_LAST, ++count)] = middle;
    }
  }
  auto checkOrder = [&](const std::vector<TreeNote>& deleted) {
    std::set<HTREEITEM> gone;
    for (const TreeNote& n : deleted) {
      EXPECT_TRUE(gone.insert(n.oldItem).second) << "each item once";
      for (auto& [item, parent] : parentOf) {
        if (parent == n.oldItem) {
          EXPECT_TRUE(gone.count(item)) << "a child goes before its parent";
        }
      }
      EXPECT_NE(n.oldParam, 0) << "the notification carries the item's parameter";
    }
  };
  HTREEITEM second = Next(tree, TVGN_NEXT, keep);
  EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(second)));
  std::vector<TreeNote> first = NotesOf(TVN_DELETEITEMA);
  EXPECT_EQ(first.size(), 7u);
  checkOrder(first);
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 14);
  EXPECT_FALSE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(second))) << "gone already";

  notes.clear();
  DestroyWindow(frame);
  std::vector<TreeNote> rest = NotesOf(TVN_DELETEITEMA);
  EXPECT_EQ(rest.size(), 14u) << "destroying the window deletes every item left";
  checkOrder(rest);
}

TEST_F(TreeTest, DeletingTheSelectionMovesItToANeighbourButDeletingAllSelectsNothing) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "a");
  HTREEITEM b = Insert(tree, "b");
  HTREEITEM child = Insert(tree, "child", b);
  SelectItem(tree, child);
  notes.clear();
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(Next(tree, TVGN_CARET), a) << "the previous sibling of what was deleted";
  ASSERT_EQ(NotesOf(TVN_SELCHANGEDA).size(), 1u);
  EXPECT_EQ(NotesOf(TVN_SELCHANGEDA)[0].oldItem, child);
  EXPECT_EQ(NotesOf(TVN_SELCHANGEDA)[0].newItem, a);
  notes.clear();
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  EXPECT_EQ(Next(tree, TVGN_CARET), nullptr);
  EXPECT_TRUE(NotesOf(TVN_SELCHANGEDA).empty());
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
}

TEST_F(TreeTest, DeleteItemHandlerCannotDeleteMore) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "a");
  Insert(tree, "b");
  int refused = 0;
  answer = [&](const NMHDR& header) -> std::optional<LRESULT> {
    if (header.code == TVN_DELETEITEMA && !SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)))
      ++refused;
    return std::nullopt;
  };
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a));
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(Children(tree), Texts{"b"});
}

}  // namespace
}  // namespace qm::test
