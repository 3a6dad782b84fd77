#include <cstdlib>
#include <fstream>
#include <iterator>

#include "DialogTestSupport.h"
#include "platform/ui/Resources.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

// The copy dialog's layout: a pop-up without caption, centred.
DialogTemplate CopyDialog(DWORD extraStyle = 0) {
  return Dialog(WS_POPUP | DS_MODALFRAME | DS_CENTER | extraStyle, 300, 54, "",
                {Item(WC_STATICA, "Copying files..", IDC_STATIC, 14, 4, 44, 8, SS_LEFT),
                 Item(PROGRESS_CLASSA, "", 1018, 7, 18, 286, 18, 0),
                 Item(WC_BUTTONA, "Cancel", IDCANCEL, 124, 38, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)});
}

// The horizontal and vertical base units, as right and bottom.
RECT BaseUnits(HWND dialog) {
  RECT units{0, 0, 4, 8};
  EXPECT_TRUE(MapDialogRect(dialog, &units));
  return units;
}

TEST_F(DialogTest, BaseUnitsComeFromTheDialogFontsAlphabetAndHeight) {
  HWND dialog = Create(CopyDialog());
  ASSERT_NE(dialog, nullptr);
  RECT units{0, 0, 4, 8};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  TEXTMETRICA metrics{};
  const SIZE alphabet = DialogFontExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &metrics);
  EXPECT_EQ(units.right, (alphabet.cx + 26) / 52);
  EXPECT_EQ(units.bottom, metrics.tmHeight);
  EXPECT_GE(units.right, 5);
  EXPECT_LE(units.right, 8);
  EXPECT_GE(units.bottom, 12);
  EXPECT_LE(units.bottom, 16);
}

TEST_F(DialogTest, TemplateRectanglesBecomePixelsRoundedToNearest) {
  const DialogTemplate copy = CopyDialog();
  HWND dialog = Create(copy);
  const RECT units = BaseUnits(dialog);
  const int baseX = units.right, baseY = units.bottom;
  RECT client = ClientRect(dialog);
  EXPECT_EQ(client.right, Scaled(300, baseX, 4));
  EXPECT_EQ(client.bottom, Scaled(54, baseY, 8));
  const int ids[] = {IDC_STATIC, 1018, IDCANCEL};
  for (size_t i = 0; i < copy.items.size(); ++i) {
    const DialogItemTemplate& item = copy.items[i];
    SCOPED_TRACE(item.className);
    HWND control = GetDlgItem(dialog, ids[i]);
    ASSERT_NE(control, nullptr);
    const RECT rect = RectIn(dialog, control);
    EXPECT_EQ(rect.left, Scaled(item.x, baseX, 4));
    EXPECT_EQ(rect.top, Scaled(item.y, baseY, 8));
    EXPECT_EQ(rect.right - rect.left, Scaled(item.cx, baseX, 4));
    EXPECT_EQ(rect.bottom - rect.top, Scaled(item.cy, baseY, 8));
  }
}

TEST_F(DialogTest, EveryControlGetsTheDialogFont) {
  HWND dialog = Create(CopyDialog());
  auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont{};
  ASSERT_NE(GetObjectA(font, sizeof logFont, &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, -11);
  for (int id : {IDC_STATIC, IDCANCEL})
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0)), font) << id;
}

TEST_F(DialogTest, CentredDialogSitsInTheMiddleOfTheWorkArea) {
  RECT rect = WindowRect(Create(CopyDialog()));
  const RECT work = ui::Display().WorkArea();
  EXPECT_LE(std::abs((rect.left - work.left) - (work.right - rect.right)), 1);
  EXPECT_LE(std::abs((rect.top - work.top) - (work.bottom - rect.bottom)), 1);
}

TEST_F(DialogTest, PopupPositionIsRelativeToTheOwnersClientArea) {
  HWND owner = CreateParent(RECT{200, 150, 700, 550});
  DialogTemplate box = Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 100, 40, "Install", {});
  box.x = 20;
  box.y = 16;
  HWND dialog = Create(box, owner);
  const RECT units = BaseUnits(dialog);
  POINT origin{0, 0};
  ClientToScreen(owner, &origin);
  RECT rect = WindowRect(dialog);
  EXPECT_EQ(rect.left, origin.x + Scaled(20, units.right, 4));
  EXPECT_EQ(rect.top, origin.y + Scaled(16, units.bottom, 8));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
}

TEST_F(DialogTest, InvisibleUntilShownUnlessTheTemplateSaysVisible) {
  HWND hidden = Create(CopyDialog());
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_TRUE(IsWindowVisible(Create(CopyDialog(WS_VISIBLE))));
  ShowWindow(hidden, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(hidden));
}

TEST_F(DialogTest, InitDialogReceivesTheParameterAndFocusGoesToTheFirstTabStop) {
  HWND dialog = Create(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, "Install",
                              {Item(WC_STATICA, "Name", IDC_STATIC, 5, 5, 40, 8, SS_LEFT),
                               Item(WC_EDITA, "C:\\Games", 1020, 50, 5, 100, 12, WS_BORDER | WS_TABSTOP),
                               Item(WC_BUTTONA, "OK", IDOK, 50, 60, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP)}),
                       nullptr, 1234);
  EXPECT_EQ(initParam, 1234);
  ShowWindow(dialog, SW_SHOW);
  Pump(dialog);
  HWND edit = GetDlgItem(dialog, 1020);
  EXPECT_EQ(GetFocus(), edit);
  // Focus given by the dialog manager selects the whole text.
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 8u);
  // A bordered edit in a dialog gets the sunken 3-D edge.
  EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(DialogTest, FocusSetByTheDialogProcedureIsKeptWhenItReturnsFalse) {
  handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> std::optional<LONG_PTR> {
    if (message != WM_INITDIALOG) return std::nullopt;
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDOK)), TRUE);
    return FALSE;
  };
  HWND dialog = Open(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, "Install",
                            {Item(WC_EDITA, "", 1020, 50, 5, 100, 12, WS_BORDER | WS_TABSTOP),
                             Item(WC_BUTTONA, "OK", IDOK, 50, 60, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP)}));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
}

TEST_F(DialogTest, IconStaticShowsTheIconResourceOfItsTemplate) {
  HWND icon = GetDlgItem(Create(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 60, "Install",
                                       {Item(WC_STATICA, "", 300, 6, 7, 20, 20, SS_ICON, 32514)})),
                         300);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)), LoadIconA(nullptr, IDI_QUESTION));
  RECT client = ClientRect(icon);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXICON));
}

TEST_F(DialogTest, BitmapStaticShowsTheBitmapResourceOfItsTemplateAtItsOwnSize) {
  // A 20 by 30 red picture, registered as resource 140.
  const std::string path = std::string(std::getenv("HOME")) + "/picture.png";
  ASSERT_TRUE(ui::SavePng(ui::Surface(20, 30, 0xFFFF0000u), path));
  std::ifstream file(path, std::ios::binary);
  const std::string png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ui::RegisterBitmapResource(140, png.data(), png.size());

  HWND dialog = Open(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 170, "Install",
                            {Item(WC_STATICA, "", IDC_STATIC, 5, 0, 81, 159, SS_BITMAP, 140)}));
  HWND picture = GetWindow(dialog, GW_CHILD);
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  auto shown = Capture(picture);
  EXPECT_EQ(shown.width, 20);
  EXPECT_EQ(shown.height, 30);
  EXPECT_EQ(shown.Count(RGB(255, 0, 0)), 20 * 30);
}

TEST_F(DialogTest, DialogItemHelpersAddressControlsById) {
  HWND dialog = Create(Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 140, "Install",
                              {Item(WC_BUTTONA, "Compact", 1012, 101, 75, 44, 10, BS_AUTORADIOBUTTON | WS_GROUP),
                               Item(WC_BUTTONA, "Medium", 1013, 101, 97, 41, 10, BS_AUTORADIOBUTTON),
                               Item(WC_BUTTONA, "Full", 1014, 101, 118, 27, 10, BS_AUTORADIOBUTTON),
                               Item(WC_STATICA, "Kb", 1009, 10, 10, 40, 8, SS_LEFT)}));
  CheckRadioButton(dialog, 1012, 1014, 1014);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_CHECKED);
  CheckRadioButton(dialog, 1012, 1014, 1013);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1013), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_UNCHECKED);
  CheckDlgButton(dialog, 1012, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_CHECKED);
  SetDlgItemTextA(dialog, 1009, "1234 Kb");
  char text[16] = {};
  EXPECT_EQ(GetDlgItemTextA(dialog, 1009, text, sizeof text), 7u);
  EXPECT_STREQ(text, "1234 Kb");
  EXPECT_EQ(GetDlgItemTextA(dialog, 4321, text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, 1013)), 1013);
}

}  // namespace
}  // namespace qm::test
