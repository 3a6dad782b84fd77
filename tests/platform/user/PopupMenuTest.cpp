// Popup menus: the menu as an object, TrackPopupMenu's answers to the ways
// a user leaves it (a chosen command, or 0 for Esc and a click outside),
// its place on the screen, and its classic look.
#include <functional>

#include "support/UiTest.h"

namespace qm::test {
namespace {

enum Command : UINT { kOpen = 1, kExplore = 2, kDelete = 3, kProperties = 4 };

HWND OpenMenuWindow() {
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
    char name[16] = {};
    GetClassNameA(top, name, sizeof name);
    if (std::string(name) == "#32768" && IsWindowVisible(top)) return top;
  }
  return nullptr;
}

class PopupMenuTest : public UiTest {
 public:
  void SetUp() override {
    UiTest::SetUp();
    owner = CreateParent();
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | MF_DEFAULT, kOpen, "&Open");
    AppendMenuA(menu, MF_STRING, kExplore, "E&xplore");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, kDelete, "&Delete");
    AppendMenuA(menu, MF_STRING, kProperties, "P&roperties");
  }
  void TearDown() override {
    DestroyMenu(menu);
    UiTest::TearDown();
  }
  POINT ItemCentre(int position) const {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void Text(const std::string& text) { InjectText(text); }
  static void RightClick(POINT at) {
    Mouse(ui::InputKind::MouseDown, at, ui::MouseButton::Right);
    Mouse(ui::InputKind::MouseUp, at, ui::MouseButton::Right);
  }
  // Opens the menu at the owner's centre, plays the steps in its loop.
  BOOL Track(std::vector<std::function<void()>> steps, UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON) {
    PlayWhenIdle(std::move(steps));
    const POINT at = CentreOf(owner);
    const BOOL result = TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr);
    ui::user::SetIdleHook({});
    Pump();
    return result;
  }

  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(PopupMenuTest, MenuKeepsItsItemsInOrderWithOneDefault) {
  EXPECT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_TRUE(InsertMenuA(menu, 1, MF_BYPOSITION | MF_STRING, 9, "&Find..."));
  EXPECT_TRUE(InsertMenuA(menu, kProperties, MF_BYCOMMAND | MF_STRING | MF_DEFAULT, 10, "&Print"));
  const std::vector<UINT> ids = {kOpen, 9, kExplore, UINT(-1), kDelete, 10, kProperties};
  ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(ids.size()));
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(i)), ids[i]) << i;
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 10u) << "the newest default takes the mark";
  EXPECT_FALSE(GetMenuState(menu, kOpen, MF_BYCOMMAND) & MF_DEFAULT);
  EXPECT_TRUE(GetMenuState(menu, kDelete, MF_BYCOMMAND) & MF_GRAYED);
  char text[32] = {};
  EXPECT_EQ(GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION), 8);
  EXPECT_STREQ(text, "E&xplore");
  EXPECT_TRUE(SetMenuDefaultItem(menu, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
  EXPECT_FALSE(SetMenuDefaultItem(menu, 3, TRUE)) << "a separator cannot be the default";
  HMENU gone = CreatePopupMenu();
  EXPECT_TRUE(DestroyMenu(gone));
  EXPECT_EQ(GetMenuItemCount(gone), -1);
  EXPECT_FALSE(AppendMenuA(gone, MF_STRING, 1, "x"));
  EXPECT_FALSE(TrackPopupMenu(gone, TPM_RETURNCMD, 10, 10, 0, owner, nullptr));
}

TEST_F(PopupMenuTest, AnswersTheChosenCommandAndZeroWhenLeft) {
  struct Case {
    const char* name;
    std::vector<std::function<void()>> steps;
    BOOL result;
  };
  const Case cases[] = {
      {"a click on an item", {[this] { InjectClickAt(ItemCentre(1)); }}, kExplore},
      {"the right button with TPM_RIGHTBUTTON", {[this] { RightClick(ItemCentre(4)); }}, kProperties},
      {"Down, Down, Enter", {[] { InjectKey(VK_DOWN); InjectKey(VK_DOWN); InjectKey(VK_RETURN); }}, kExplore},
      {"Up from the top skips the separator round the end",
       {[] { InjectKey(VK_UP); InjectKey(VK_UP); InjectKey(VK_UP); InjectKey(VK_RETURN); }},
       kExplore},
      {"an access key", {[] { Text("r"); }}, kProperties},
      {"Esc", {[] { InjectKey(VK_ESCAPE); }}, 0},
      {"a click outside", {[] {
         RECT menuRect{};
         GetWindowRect(OpenMenuWindow(), &menuRect);
         InjectClickAt(POINT{menuRect.right + 30, menuRect.top});
       }}, 0},
      {"a greyed item is never chosen",
       {[this] { InjectClickAt(ItemCentre(3)); },
        [] {
          EXPECT_NE(OpenMenuWindow(), nullptr) << "still open";
          InjectKey(VK_RETURN);
        },
        [] { Text("d"); }, [] { InjectKey(VK_ESCAPE); }},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    notifications.clear();
    EXPECT_EQ(Track(c.steps), c.result);
    EXPECT_EQ(OpenMenuWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(notifications.empty()) << "TPM_RETURNCMD sends no WM_COMMAND";
    EXPECT_EQ(GetActiveWindow(), owner) << "the owner stayed active";
  }
}

TEST_F(PopupMenuTest, WithoutReturnCmdTheOwnerGetsTheCommand) {
  EXPECT_TRUE(Track({[this] { InjectClickAt(ItemCentre(0)); }}, TPM_LEFTBUTTON));
  ASSERT_EQ(notifications.size(), 1u);
  EXPECT_EQ(notifications[0].id, kOpen);
  notifications.clear();
  EXPECT_TRUE(Track({[] { InjectKey(VK_ESCAPE); }}, TPM_LEFTBUTTON)) << "leaving the menu is no failure";
  EXPECT_TRUE(notifications.empty());
  // Without TPM_RIGHTBUTTON the right button chooses nothing.
  EXPECT_EQ(Track({[this] { RightClick(ItemCentre(1)); }, [] { InjectKey(VK_ESCAPE); }}, TPM_RETURNCMD), 0);
}

TEST_F(PopupMenuTest, OpensLeftAndAboveThePointWhereTheScreenEnds) {
  const int right = GetSystemMetrics(SM_CXSCREEN) - 2, bottom = GetSystemMetrics(SM_CYSCREEN) - 2;
  RECT placed{};
  PlayWhenIdle({[&] {
    GetWindowRect(OpenMenuWindow(), &placed);
    InjectKey(VK_ESCAPE);
  }});
  TrackPopupMenu(menu, TPM_RETURNCMD, right, bottom, 0, owner, nullptr);
  EXPECT_EQ(std::tuple(placed.right, placed.bottom), std::tuple(right, bottom));
}

TEST_F(PopupMenuTest, ClassicLookWithSeparatorGreyedAndDefaultItems) {
  AppendMenuA(menu, MF_STRING, 5, "&Open");  // the default item's text in the normal weight
  ui::Surface picture;
  std::vector<RECT> items;
  PlayWhenIdle({[&] { InjectKey(VK_DOWN); },  // highlights the first item
                [&] {
                  HWND window = OpenMenuWindow();
                  RECT frame{};
                  GetWindowRect(window, &frame);
                  picture = ui::Surface(frame.right - frame.left, frame.bottom - frame.top);
                  for (int y = 0; y < picture.height; ++y)
                    for (int x = 0; x < picture.width; ++x)
                      picture.At(x, y) = ui::ScreenSurface().At(frame.left + x, frame.top + y);
                  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                    RECT r{};
                    GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
                    items.push_back(RECT{r.left - frame.left, r.top - frame.top, r.right - frame.left,
                                         r.bottom - frame.top});
                  }
                  InjectKey(VK_ESCAPE);
                }});
  TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr);
  ASSERT_EQ(items.size(), 6u);
  auto px = [](COLORREF c) { return ui::PixelFromColor(c); };
  auto count = [&](const RECT& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += picture.At(x, y) == px(c);
    return n;
  };
  const int w = picture.width, h = picture.height;
  EXPECT_EQ((std::vector{picture.At(0, 0), picture.At(1, 1), picture.At(w - 1, h - 1), picture.At(w - 2, h - 2)}),
            (std::vector{px(RGB(223, 223, 223)), px(RGB(255, 255, 255)), px(RGB(0, 0, 0)), px(RGB(128, 128, 128))}))
      << "the raised frame";

  const RECT& open = items[0];
  EXPECT_GT(count(open, RGB(0, 0, 128)), (open.right - open.left) * (open.bottom - open.top) * 3 / 4)
      << "the highlighted item is navy";
  EXPECT_GT(count(open, RGB(255, 255, 255)), 0) << "with white text";

  // The separator: an etched line, shadow over highlight, across the item.
  const RECT& separator = items[2];
  int shadowRow = -1;
  for (int y = separator.top; y < separator.bottom; ++y)
    if (count(RECT{separator.left + 1, y, separator.right - 1, y + 1}, RGB(128, 128, 128)) ==
        separator.right - separator.left - 2)
      shadowRow = y;
  ASSERT_GE(shadowRow, 0);
  EXPECT_EQ(count(RECT{separator.left + 1, shadowRow + 1, separator.right - 1, shadowRow + 2}, RGB(255, 255, 255)),
            separator.right - separator.left - 2);

  const RECT& greyed = items[3];
  EXPECT_EQ(count(greyed, RGB(0, 0, 0)), 0) << "no black ink on a greyed item";
  EXPECT_GT(count(greyed, RGB(128, 128, 128)), 0);
  EXPECT_GT(count(greyed, RGB(255, 255, 255)), 0) << "etched: highlight below and right of the shadow";

  // The same text in bold covers more pixels than in the normal weight.
  auto ink = [&](const RECT& r, COLORREF background) {
    return (r.right - r.left) * (r.bottom - r.top) - count(r, background);
  };
  EXPECT_GT(ink(open, RGB(0, 0, 128)), ink(items[5], RGB(192, 192, 192))) << "the default item is bold";
}

}  // namespace
}  // namespace qm::test
