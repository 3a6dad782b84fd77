#include "ControlTest.h"

namespace qm::test {
namespace {

class ButtonTest : public ControlTest {
 protected:
  HWND Button(const char* text, DWORD style, int id, int row) {
    return CreateControl(parent, WC_BUTTONA, text, style, RECT{10, 10 + row * 30, 160, 34 + row * 30}, id);
  }
  static LRESULT Check(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0); }
};

TEST_F(ButtonTest, AutoCheckBoxTogglesOnClickAndSpaceAndNotifiesEachTime) {
  HWND box = Button("&Check", BS_AUTOCHECKBOX | WS_TABSTOP, 100, 0);
  Click(box);
  EXPECT_EQ(Check(box), BST_CHECKED);
  EXPECT_EQ(GetFocus(), box);
  Click(box);
  EXPECT_EQ(Check(box), BST_UNCHECKED);
  Key(VK_SPACE);
  EXPECT_EQ(Check(box), BST_CHECKED);
  auto clicks = NotificationsFrom(100);
  ASSERT_EQ(clicks.size(), 3u);
  for (const Notification& n : clicks) {
    EXPECT_EQ(n.code, BN_CLICKED);
    EXPECT_EQ(n.control, box);
  }
}

TEST_F(ButtonTest, ReleasingTheMouseOutsideTheButtonDoesNotClick) {
  HWND box = Button("Check", BS_AUTOCHECKBOX, 100, 0);
  Mouse(ui::InputKind::MouseDown, CentreOf(box));
  Pump();
  EXPECT_TRUE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
  const POINT away{CentreOf(box).x, CentreOf(box).y + 200};
  Mouse(ui::InputKind::MouseMove, away);
  Mouse(ui::InputKind::MouseUp, away);
  Pump();
  EXPECT_EQ(Check(box), BST_UNCHECKED);
  EXPECT_FALSE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(NotificationsFrom(100).empty());
}

TEST_F(ButtonTest, AutoRadioButtonUnchecksOnlyTheOthersOfItsGroup) {
  HWND first = Button("One", BS_AUTORADIOBUTTON | WS_GROUP, 101, 0);
  HWND second = Button("Two", BS_AUTORADIOBUTTON, 102, 1);
  HWND third = Button("Three", BS_AUTORADIOBUTTON, 103, 2);
  HWND otherGroup = Button("Other", BS_AUTORADIOBUTTON | WS_GROUP, 104, 3);
  SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(otherGroup, BM_SETCHECK, BST_CHECKED, 0);

  Click(third);
  EXPECT_EQ((std::vector{Check(first), Check(second), Check(third), Check(otherGroup)}),
            (std::vector<LRESULT>{BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED, BST_CHECKED}));
  // The checked radio button is its group's tab stop.
  EXPECT_TRUE(GetWindowLongA(third, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongA(first, GWL_STYLE) & WS_TABSTOP);
  ASSERT_EQ(NotificationsFrom(103).size(), 1u);
  EXPECT_EQ(NotificationsFrom(103)[0].code, BN_CLICKED);
}

TEST_F(ButtonTest, DisabledRadioButtonCannotBeCheckedByClickOrBmClick) {
  HWND full = Button("Full", BS_AUTORADIOBUTTON | WS_GROUP, 1014, 0);
  HWND compact = Button("Compact", BS_AUTORADIOBUTTON | WS_DISABLED, 1012, 1);
  SendMessageA(full, BM_SETCHECK, BST_CHECKED, 0);
  Click(compact);
  SendMessageA(compact, BM_CLICK, 0, 0);
  EXPECT_EQ(Check(compact), BST_UNCHECKED);
  EXPECT_EQ(Check(full), BST_CHECKED);
  EXPECT_TRUE(notifications.empty());
}

TEST_F(ButtonTest, GroupBoxTakesNeitherClicksNorFocus) {
  HWND edit = CreateControl(parent, WC_EDITA, "", WS_BORDER, RECT{10, 200, 100, 220}, 300);
  HWND group = CreateControl(parent, WC_BUTTONA, "Destination Folder", BS_GROUPBOX, RECT{5, 5, 300, 150}, 200);
  SetFocus(edit);
  Click(group);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_TRUE(NotificationsFrom(200).empty());
  EXPECT_EQ(SendMessageA(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  SendMessageA(group, BM_CLICK, 0, 0);
  EXPECT_TRUE(NotificationsFrom(200).empty());
}

TEST_F(ButtonTest, ClassicLookOfPushCheckAndRadioButtons) {
  const auto normal = Capture(Button("Normal", BS_PUSHBUTTON, 1, 0));
  const auto byDefault = Capture(Button("Default", BS_DEFPUSHBUTTON, 2, 1));
  HWND checked = Button("Checked", BS_AUTOCHECKBOX, 3, 2);
  HWND unchecked = Button("Unchecked", BS_AUTOCHECKBOX, 4, 3);
  HWND radio = Button("Radio", BS_AUTORADIOBUTTON, 5, 4);
  SendMessageA(checked, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), face = RGB(192, 192, 192);

  EXPECT_EQ((std::vector{normal.At(0, 0), normal.At(normal.width - 1, normal.height - 1),
                         normal.At(3, normal.height / 2)}),
            (std::vector{white, black, face}));
  EXPECT_EQ((std::vector{byDefault.At(0, 0), byDefault.At(1, 1)}), (std::vector{black, white}));

  // The box is 13 pixels, vertically centred at the left; the mark is in
  // its window-coloured inside.
  int boxTop = (Capture(checked).height - 13) / 2;
  EXPECT_GT(Capture(checked).Count(RECT{3, boxTop + 3, 10, boxTop + 10}, black), 10);
  EXPECT_EQ(Capture(unchecked).Count(RECT{3, boxTop + 3, 10, boxTop + 10}, black), 0);
  int radioTop = (Capture(radio).height - 12) / 2;
  EXPECT_EQ(Capture(radio).Count(RECT{4, radioTop + 4, 8, radioTop + 8}, black), 12);
}

TEST_F(ButtonTest, DisabledPushButtonShowsEmbossedGreyText) {
  auto inside = [](const ClientPicture& p) { return RECT{3, 3, p.width - 3, p.height - 3}; };
  const auto on = Capture(Button("Browse...", BS_PUSHBUTTON, 1, 0));
  const auto off = Capture(Button("Browse...", BS_PUSHBUTTON | WS_DISABLED, 2, 1));
  EXPECT_GT(on.Count(inside(on), RGB(0, 0, 0)), 0);
  EXPECT_EQ(off.Count(inside(off), RGB(0, 0, 0)), 0);
  EXPECT_GT(off.Count(inside(off), RGB(128, 128, 128)), 0);
  EXPECT_GT(off.Count(inside(off), RGB(255, 255, 255)), 0);
}

}  // namespace
}  // namespace qm::test
