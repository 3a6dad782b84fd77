#include "TreeViewTestSupport.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(TreeTest, KeysMoveTheSelectionAndOpenAndCloseItems) {
  HWND tree = MakeTree();
  HTREEITEM a = Insert(tree, "A");
  Insert(tree, "A1", a);
  HTREEITEM a2 = Insert(tree, "A2", a);
  Insert(tree, "A2a", a2);
  Insert(tree, "B");
  Insert(tree, "C");
  SelectItem(tree, a);
  SetFocus(tree);
  struct Row { UINT key; const char* selected; Texts shown; } rows[] = {
      {VK_RIGHT, "A", {"A", "A1", "A2", "B", "C"}},
      {VK_RIGHT, "A1", {"A", "A1", "A2", "B", "C"}},
      {VK_DOWN, "A2", {"A", "A1", "A2", "B", "C"}},
      {VK_RIGHT, "A2", {"A", "A1", "A2", "A2a", "B", "C"}},
      {VK_RIGHT, "A2a", {"A", "A1", "A2", "A2a", "B", "C"}},
      {VK_LEFT, "A2", {"A", "A1", "A2", "A2a", "B", "C"}},
      {VK_LEFT, "A2", {"A", "A1", "A2", "B", "C"}},
      {VK_BACK, "A", {"A", "A1", "A2", "B", "C"}},
      {VK_LEFT, "A", {"A", "B", "C"}},
      {VK_DOWN, "B", {"A", "B", "C"}},
      {VK_END, "C", {"A", "B", "C"}},
      {VK_UP, "B", {"A", "B", "C"}},
      {VK_HOME, "A", {"A", "B", "C"}},
      {VK_MULTIPLY, "A", {"A", "A1", "A2", "A2a", "B", "C"}},
      {VK_SUBTRACT, "A", {"A", "B", "C"}},
      {VK_ADD, "A", {"A", "A1", "A2", "A2a", "B", "C"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    SCOPED_TRACE(row.selected);
    Key(row.key);
    EXPECT_EQ(ItemText(tree, Next(tree, TVGN_CARET)), row.selected);
    EXPECT_EQ(Shown(tree), row.shown);
  }
  EXPECT_EQ(NotesOf(TVN_KEYDOWN).size(), std::size(rows));
}

// A tree whose every item gets a child when it opens, as folders linked
// into themselves do: the keypad's * opens a bounded number and returns.
TEST_F(TreeTest, ExpandingEverythingBelowAnEndlessItemStops) {
  HWND tree = MakeTree();
  HTREEITEM top = Insert(tree, "deep", TVI_ROOT, TVI_LAST, 0, 1);
  int loaded = 0;
  answer = [&](const NMHDR& header) -> std::optional<LRESULT> {
    if (header.code != TVN_ITEMEXPANDINGA) return std::nullopt;
    const auto& expanding = reinterpret_cast<const NMTREEVIEWA&>(header);
    if (expanding.action == TVE_EXPAND && !Next(tree, TVGN_CHILD, expanding.itemNew.hItem)) {
      ++loaded;
      Insert(tree, "deeper", expanding.itemNew.hItem, TVI_LAST, 0, 1);
    }
    return std::nullopt;
  };
  SelectItem(tree, top);
  SetFocus(tree);
  Key(VK_MULTIPLY);
  EXPECT_GT(loaded, 100);
  EXPECT_LE(loaded, 4096);
  EXPECT_EQ(ItemText(tree, Next(tree, TVGN_CARET)), "deep");
}

TEST_F(TreeTest, PageKeysMoveByTheRowsInView) {
  HWND tree = MakeTree(kClassicStyle, {200, 100});
  for (int i = 0; i < 40; ++i) Insert(tree, ("item " + std::to_string(i)).c_str());
  SelectItem(tree, Next(tree, TVGN_ROOT));
  SetFocus(tree);
  int visible = static_cast<int>(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0));
  ASSERT_GT(visible, 2);
  Key(VK_NEXT);
  EXPECT_EQ(ItemText(tree, Next(tree, TVGN_CARET)), "item " + std::to_string(visible - 1));
  Key(VK_NEXT);
  EXPECT_EQ(ItemText(tree, Next(tree, TVGN_CARET)), "item " + std::to_string(2 * (visible - 1)));
  RECT label = Label(tree, Next(tree, TVGN_CARET));
  RECT client = ClientRect(tree);
  EXPECT_LE(label.bottom, client.bottom) << "the selection is kept in view";
  Key(VK_PRIOR);
  EXPECT_EQ(ItemText(tree, Next(tree, TVGN_CARET)), "item " + std::to_string(visible - 1));
}

class TreeScrollTest : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    tree = MakeTree(kClassicStyle, {200, 200});
    for (int i = 0; i < 200; ++i) items.push_back(Insert(tree, ("item " + std::to_string(i)).c_str()));
    Pump();
  }

  int FirstVisible() {
    HTREEITEM first = Next(tree, TVGN_FIRSTVISIBLE);
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == first) return static_cast<int>(i);
    return -1;
  }

  // The vertical bar's parts, on the screen: x of the bar, y of its arrows.
  POINT Bar(int y) {
    RECT r = WindowRect(tree);
    return POINT{r.right - 2 - 8, y < 0 ? r.bottom - 2 + y : r.top + 2 + y};
  }

  HWND tree = nullptr;
  std::vector<HTREEITEM> items;
};

TEST_F(TreeScrollTest, ScrollBarsMoveTheTreeByLinePageThumbAndWheel) {
  ASSERT_TRUE(GetWindowLongA(tree, GWL_STYLE) & WS_VSCROLL) << "200 rows do not fit: a vertical bar";
  EXPECT_FALSE(GetWindowLongA(tree, GWL_STYLE) & WS_HSCROLL) << "the labels fit across";
  int visible = static_cast<int>(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0));
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(tree, SB_VERT, &info);
  EXPECT_EQ(info.nMax, 199);
  EXPECT_EQ(info.nPage, static_cast<UINT>(visible));

  // The thumb, from the top of the track dragged past its bottom.
  RECT window = WindowRect(tree);
  Mouse(ui::InputKind::MouseMove, Bar(16 + 3));
  Mouse(ui::InputKind::MouseDown, Bar(16 + 3));
  // The bar holds the mouse from its press on: the rest comes while it does.
  PlayWhenIdle({[&] { Mouse(ui::InputKind::MouseMove, Bar(16 + 3 + 60)); },
                [&] {
                  EXPECT_GT(FirstVisible(), visible) << "the tree follows the thumb while it is dragged";
                  Mouse(ui::InputKind::MouseMove, Bar(window.bottom - window.top + 100));
                },
                [&] { Mouse(ui::InputKind::MouseUp, Bar(window.bottom - window.top + 100)); }});
  Pump();
  ui::user::SetIdleHook({});
  const int last = 200 - visible;
  EXPECT_EQ(FirstVisible(), last) << "at the end of the track the last page shows";
  EXPECT_EQ(GetScrollPos(tree, SB_VERT), last) << "the bar follows";

  ui::InputEvent wheel;
  wheel.kind = ui::InputKind::MouseWheel;
  wheel.point = Bar(50);
  wheel.wheelDelta = WHEEL_DELTA;
  SetFocus(tree);
  ui::InjectInput(wheel);
  Pump();
  EXPECT_EQ(FirstVisible(), last - 3) << "a notch up scrolls three rows up";
  wheel.wheelDelta = -WHEEL_DELTA / 2;
  ui::InjectInput(wheel);
  Pump();
  EXPECT_EQ(FirstVisible(), last - 3) << "half a notch does nothing yet";
  ui::InjectInput(wheel);
  Pump();
  EXPECT_EQ(FirstVisible(), last);

  InjectClickAt(Bar(8));  // the up arrow
  Pump();
  EXPECT_EQ(FirstVisible(), last - 1);
  InjectClickAt(Bar(30));  // the track above the thumb
  Pump();
  EXPECT_EQ(FirstVisible(), last - 1 - visible);
  InjectClickAt(Bar(-8));  // the down arrow
  Pump();
  EXPECT_EQ(FirstVisible(), last - visible);
}

TEST_F(TreeScrollTest, CollapsingAboveKeepsTheTopItemInView) {
  HTREEITEM parent = items[0];
  for (int i = 0; i < 20; ++i) Insert(tree, "child", parent);
  Expand(tree, parent);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(items[10]));
  EXPECT_EQ(FirstVisible(), 10);
  Expand(tree, parent, TVE_COLLAPSE);
  EXPECT_EQ(FirstVisible(), 10) << "the same item stays at the top";
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(tree, SB_VERT, &info);
  EXPECT_EQ(info.nPos, 10);
  EXPECT_EQ(info.nMax, 199);
}

}  // namespace
}  // namespace qm::test
