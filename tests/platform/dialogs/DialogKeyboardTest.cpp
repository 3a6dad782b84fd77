#include "DialogTestSupport.h"

namespace qm::test {
namespace {

// Like the destination page: a group box around a read-only edit and a
// Browse button whose tab stop the dialog removes, then OK and Cancel.
DialogTemplate DestinationPage() {
  return Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 290, 170, "Install",
                {Item(WC_STATICA, "Setup will install Quellmoor in the following folder.", IDC_STATIC, 99, 0, 158, 75,
                      SS_LEFT),
                 Item(WC_BUTTONA, "Destination Folder", IDC_STATIC, 99, 97, 181, 28, BS_GROUPBOX | WS_TABSTOP),
                 Item(WC_EDITA, "C:\\Games\\Quellmoor", 1020, 104, 107, 117, 12,
                      WS_BORDER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP),
                 Item(WC_BUTTONA, "Browse...", 1001, 225, 106, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "Disabled", 1002, 10, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED),
                 Item(WC_BUTTONA, "OK", IDOK, 100, 150, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
                 Item(WC_BUTTONA, "Cancel", IDCANCEL, 160, 150, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)});
}

using DialogKeyboardTest = DialogTest;

TEST_F(DialogKeyboardTest, TabVisitsTabStopsInOrderSkippingRemovedDisabledAndGroupBoxes) {
  handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> std::optional<LONG_PTR> {
    if (message == WM_INITDIALOG) {
      HWND browse = GetDlgItem(dialog, 1001);
      SetWindowLongA(browse, GWL_STYLE, GetWindowLongA(browse, GWL_STYLE) & ~WS_TABSTOP);
    }
    return std::nullopt;
  };
  HWND dialog = Open(DestinationPage());
  ASSERT_EQ(GetDlgCtrlID(GetFocus()), 1020);
  const struct { bool shift; int focused; } steps[] = {{false, IDOK}, {false, IDCANCEL}, {false, 1020},
                                                      {true, IDCANCEL}, {true, IDOK},      {true, 1020}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.focused);
    Key(VK_TAB, dialog, step.shift);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), step.focused);
  }
  // The edit takes the focus but no typing.
  Type("x", dialog);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 1020)), "C:\\Games\\Quellmoor");
}

TEST_F(DialogKeyboardTest, DefaultButtonLookFollowsTheFocusedPushButton) {
  HWND dialog = Open(DestinationPage());
  HWND ok = GetDlgItem(dialog, IDOK);
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  auto type = [](HWND button) { return GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  for (int i = 0; i < 3; ++i) Key(VK_TAB, dialog);  // Browse, OK, Cancel
  ASSERT_EQ(GetFocus(), cancel);
  EXPECT_EQ(type(cancel), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(ok), BS_PUSHBUTTON);
  Key(VK_RETURN, dialog);
  EXPECT_EQ(CommandIds(), std::vector<int>{IDCANCEL});
  Key(VK_TAB, dialog);  // back to the edit
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(cancel), BS_PUSHBUTTON);
  EXPECT_EQ(Capture(ok).At(0, 0), RGB(0, 0, 0));
}

TEST_F(DialogKeyboardTest, EnterPressesTheDefaultButtonAndEscCancels) {
  HWND dialog = Open(DestinationPage());
  ASSERT_EQ(GetDlgCtrlID(GetFocus()), 1020);
  Key(VK_RETURN, dialog);
  Key(VK_ESCAPE, dialog);
  SendMessageA(dialog, DM_SETDEFID, 1001, 0);
  Key(VK_RETURN, dialog);
  ASSERT_EQ(CommandIds(), (std::vector<int>{IDOK, IDCANCEL, 1001}));
  EXPECT_EQ(Clicks()[0].control, GetDlgItem(dialog, IDOK));
  EXPECT_EQ(Clicks()[1].control, GetDlgItem(dialog, IDCANCEL));
}

TEST_F(DialogKeyboardTest, EnterWithoutADefaultButtonMeansOk) {
  HWND dialog = Open(Dialog(WS_POPUP | DS_MODALFRAME, 227, 42, "",
                            {Item(WC_STATICA, "Please wait...", IDC_STATIC, 0, 17, 227, 8, SS_CENTER)}));
  Key(VK_RETURN, dialog);
  Key(VK_ESCAPE, dialog);
  EXPECT_EQ(CommandIds(), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(Clicks()[0].control, nullptr);
  // What the commands mean is the dialog procedure's choice: this one
  // ignores them, so the dialog stays.
  EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(DialogKeyboardTest, NestedChildDialogsShareTheKeyboardOfTheirParentDialog) {
  HWND sheet = Open(Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 300, 200, "Install",
                           {Item(WC_BUTTONA, "< &Back", 0x3023, 130, 180, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
                            Item(WC_BUTTONA, "&Next >", 0x3024, 180, 180, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                            Item(WC_BUTTONA, "Cancel", IDCANCEL, 240, 180, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)}));
  HWND page = Create(Dialog(WS_CHILD | WS_VISIBLE | DS_CONTROL, 290, 170, "",
                            {Item(WC_EDITA, "", 1020, 104, 107, 117, 12, WS_BORDER | WS_TABSTOP),
                             Item(WC_BUTTONA, "Browse...", 1001, 225, 106, 50, 14, BS_PUSHBUTTON)}),
                     sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(GetWindowLongA(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  HWND edit = GetDlgItem(page, 1020);
  SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  Key(VK_TAB, sheet);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 0x3023);
  Key(VK_TAB, sheet, true);
  EXPECT_EQ(GetFocus(), edit);
  Type("D:\\Games", sheet);
  EXPECT_EQ(TextOf(edit), "D:\\Games");
  Key(VK_RETURN, sheet);
  Key(VK_ESCAPE, sheet);
  EXPECT_EQ(CommandIds(), (std::vector<int>{0x3024, IDCANCEL}));
  EXPECT_EQ(Clicks()[0].control, GetDlgItem(sheet, 0x3024));
}

TEST_F(DialogKeyboardTest, SpaceClicksTheFocusedButton) {
  HWND dialog = Open(DestinationPage());
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 1001)), TRUE);
  Key(VK_SPACE, dialog);
  EXPECT_EQ(CommandIds(), std::vector<int>{1001});
}

TEST_F(DialogKeyboardTest, ArrowsMoveWithinARadioGroupAndCheckTheFocusedButton) {
  HWND dialog = Open(Dialog(
      WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 150, "Install",
      {Item(WC_BUTTONA, "Compact", 1012, 10, 10, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_DISABLED),
       Item(WC_BUTTONA, "Medium", 1013, 10, 25, 60, 10, BS_AUTORADIOBUTTON | WS_DISABLED),
       Item(WC_BUTTONA, "Full", 1014, 10, 40, 60, 10, BS_AUTORADIOBUTTON | WS_TABSTOP),
       Item(WC_BUTTONA, "Red", 21, 100, 10, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP),
       Item(WC_BUTTONA, "Green", 22, 100, 25, 60, 10, BS_AUTORADIOBUTTON),
       Item(WC_BUTTONA, "Blue", 23, 100, 40, 60, 10, BS_AUTORADIOBUTTON),
       Item(WC_BUTTONA, "OK", IDOK, 70, 120, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP)}));
  CheckRadioButton(dialog, 1012, 1014, 1014);
  ASSERT_EQ(GetDlgCtrlID(GetFocus()), 1014);
  // The disabled choices are never reached.
  for (UINT key : {VK_DOWN, VK_UP}) {
    Key(key, dialog);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), 1014) << key;
  }
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_UNCHECKED);

  Key(VK_TAB, dialog);
  ASSERT_EQ(GetDlgCtrlID(GetFocus()), 21);
  const struct { UINT key; int focused; } steps[] = {
      {VK_DOWN, 22}, {VK_RIGHT, 23}, {VK_DOWN, 21}, {VK_UP, 23}, {VK_LEFT, 22}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.focused);
    Key(step.key, dialog);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), step.focused);
    for (int id : {21, 22, 23}) EXPECT_EQ(IsDlgButtonChecked(dialog, id), id == step.focused ? 1u : 0u) << id;
  }
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_CHECKED);
  // Tab comes back to the group at its checked button.
  for (int i = 0; i < 3; ++i) Key(VK_TAB, dialog);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 22);
}

TEST_F(DialogKeyboardTest, AccessKeysClickButtonsAndLabelsFocusTheirControl) {
  HWND dialog = Open(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, "Install",
                            {Item(WC_STATICA, "&Name:", IDC_STATIC, 5, 5, 40, 8, SS_LEFT),
                             Item(WC_EDITA, "", 10, 50, 5, 100, 12, WS_BORDER | WS_TABSTOP),
                             Item(WC_BUTTONA, "&Check", 11, 5, 25, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
                             Item(WC_STATICA, "No &prefix", IDC_STATIC, 5, 40, 60, 8, SS_LEFT | SS_NOPREFIX),
                             Item(WC_BUTTONA, "&Resume", IDOK, 40, 80, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
                             Item(WC_BUTTONA, "E&xit Setup", IDCANCEL, 100, 80, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)}));
  HWND edit = GetDlgItem(dialog, 10);
  ASSERT_EQ(GetFocus(), edit);
  Key('X', dialog, false, true);
  EXPECT_EQ(CommandIds(), std::vector<int>{IDCANCEL});
  Key('C', dialog, false, true);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 11), BST_CHECKED);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 11);
  // A plain letter works while the focused control takes no characters...
  Type("c", dialog);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 11), BST_UNCHECKED);
  Key('N', dialog, false, true);
  EXPECT_EQ(GetFocus(), edit);
  // ...and is typed where it does.
  Type("r", dialog);
  EXPECT_EQ(TextOf(edit), "r");
  Key('P', dialog, false, true);
  EXPECT_EQ(GetFocus(), edit);
  Key('R', dialog, false, true);
  EXPECT_EQ(CommandIds(), (std::vector<int>{IDCANCEL, 11, 11, IDOK}));
}

// Access keys compare upper-cased as names are, beyond ASCII too; a key
// made of bytes that are not UTF-8 is no key, not even for U+FFFD typed.
TEST_F(DialogKeyboardTest, AccessKeysIgnoreCaseBeyondAsciiAndStrayBytesMakeNone) {
  HWND dialog = Open(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, "Install",
                            {Item(WC_BUTTONA, "&\xC3\x9C" "ber", 11, 5, 5, 60, 14, BS_PUSHBUTTON | WS_TABSTOP),
                             Item(WC_BUTTONA, "&\xFF", 12, 5, 25, 60, 14, BS_PUSHBUTTON | WS_TABSTOP),
                             Item(WC_BUTTONA, "&\xC3\xA9t\xC3\xA9", 13, 5, 45, 60, 14, BS_PUSHBUTTON | WS_TABSTOP)}));
  Type("\xC3\xBC", dialog);  // ü
  Type("\xFF", dialog);      // arrives as U+FFFD
  Type("\xC3\x89", dialog);  // É
  EXPECT_EQ(CommandIds(), (std::vector<int>{11, 13}));
}

}  // namespace
}  // namespace qm::test
