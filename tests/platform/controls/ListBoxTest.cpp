// The list box as a combo box and a dialog list use it: item order, the
// selection following its item, user selection reported and the program's
// not, the selection kept in view, and its look.
#include "platform/ui/controls/ListBoxItems.h"
#include "ControlTest.h"

namespace qm::test {
namespace {

using ui::controls::ListItems;

std::vector<std::string> Texts(const ListItems& items) {
  std::vector<std::string> texts;
  for (int i = 0; i < items.Count(); ++i) texts.push_back(items.At(i).text);
  return texts;
}

TEST(ListItemsTest, SortedItemsGoAfterTheirEqualsBlindToCase) {
  ListItems items;
  for (const char* text : {"beta", "Alpha", "gamma", "ALPHA", "alpha"}) items.Add(text, true);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"Alpha", "ALPHA", "alpha", "beta", "gamma"}));
}

TEST(ListItemsTest, SelectionFollowsItsItemAsOthersComeAndGo) {
  ListItems items;
  for (const char* text : {"a", "b", "c"}) items.Add(text, false);
  items.selection = 1;
  items.Insert(0, "first");
  EXPECT_EQ(items.selection, 2);
  items.Remove(3);
  EXPECT_EQ(items.selection, 2) << "an item after the selection went";
  items.Remove(0);
  EXPECT_EQ(items.selection, 1);
  items.Remove(1);
  EXPECT_EQ(items.selection, -1) << "the selected item itself went";
  EXPECT_EQ(items.Insert(5, "beyond the end"), -1);
  EXPECT_EQ(items.Remove(7), -1);
}

TEST(ListItemsTest, FindStartsAfterTheGivenItemAndWrapsRound) {
  ListItems items;
  for (const char* text : {"Games", "garden", "Gamma", "other"}) items.Add(text, false);
  struct Case { int start; const char* text; bool exact; int found; };
  const Case cases[] = {
      {-1, "gam", false, 0}, {0, "gam", false, 2}, {2, "gam", false, 0},  {-1, "GARDEN", true, 1},
      {-1, "gard", true, -1}, {3, "o", false, 3},  {-1, "", false, 0},    {-1, "x", false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.start));
    EXPECT_EQ(items.Find(c.start, c.text, c.exact), c.found);
  }
}

class ListBoxTest : public ControlTest {
 protected:
  // Five rows high.
  HWND List(int count) {
    HWND list = CreateControl(parent, WC_LISTBOXA, "", LBS_NOTIFY | WS_TABSTOP, RECT{10, 10, 160, 100}, 1030);
    MoveWindow(list, 10, 10, 150, 5 * static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)), TRUE);
    for (int i = 0; i < count; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(("item " + std::to_string(i)).c_str()));
    SetFocus(list);
    Pump();
    notifications.clear();
    return list;
  }
  static int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
  static int Top(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }
  static int SelectionChanges() { return CountOf(1030, LBN_SELCHANGE); }
};

TEST_F(ListBoxTest, UserSelectionIsReportedAndKeptInView) {
  HWND list = List(20);
  SendMessageA(list, LB_SETCURSEL, 3, 0);
  EXPECT_EQ(SelectionChanges(), 0) << "the program's selection is not reported";
  struct Step { UINT key; int selection; int top; };
  // Five rows show; Page Down moves by the rows less one.
  const Step steps[] = {{VK_DOWN, 4, 0}, {VK_DOWN, 5, 1}, {VK_NEXT, 9, 5}, {VK_END, 19, 15},
                        {VK_HOME, 0, 0}, {VK_UP, 0, 0}};
  int reported = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE("key " + std::to_string(step.key));
    const int before = Selection(list);
    Key(step.key);
    EXPECT_EQ(Selection(list), step.selection);
    EXPECT_EQ(Top(list), step.top);
    reported += before != step.selection;
    EXPECT_EQ(SelectionChanges(), reported) << "one report for each change, none without one";
  }
}

TEST_F(ListBoxTest, ClickSelectsTheItemUnderThePointer) {
  HWND list = List(3);
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &at);
  for (int clicks = 1; clicks <= 2; ++clicks) {
    InjectClickAt(at);
    Pump();
    EXPECT_EQ(Selection(list), 2);
    EXPECT_EQ(SelectionChanges(), clicks) << "a click reports even when the selection stays";
  }
}

TEST_F(ListBoxTest, SelectionIsNavyWithWhiteTextOnTheWindowColour) {
  HWND list = List(3);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  ClientPicture picture = Capture(list);
  const RECT first{0, 0, picture.width, rowHeight};
  const RECT second{1, rowHeight + 1, picture.width - 1, 2 * rowHeight - 1};
  EXPECT_EQ(picture.Count(first, RGB(0, 0, 128)), 0);
  EXPECT_GT(picture.Count(first, RGB(0, 0, 0)), 0) << "black text on white";
  EXPECT_GT(picture.Count(second, RGB(0, 0, 128)), (second.right - second.left) * (second.bottom - second.top) / 2);
  EXPECT_GT(picture.Count(second, RGB(255, 255, 255)), 0) << "white text on navy";
  EXPECT_EQ(picture.At(2, 4 * rowHeight), RGB(255, 255, 255)) << "below the items";
}

}  // namespace
}  // namespace qm::test
