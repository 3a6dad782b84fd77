// Pictures of a folder-choosing dialog with a tree of folders, its icons and
// scroll bars, and of the sizable chooser with its combo box open over the
// tree and a popup menu, for judging the look by eye. Run by hand:
//   test_platform_dialogs --gtest_also_run_disabled_tests --gtest_filter='*TreeScreenshots*:*ChooserScreenshots*'
#include <functional>

#include "platform/ui/Automation.h"

#include "platform/dialogs/DialogTestSupport.h"
#include "platform/dialogs/Screenshots.h"

namespace qm::test {
namespace {

constexpr int kTree = 1049;

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Small icons drawn with rectangles: a computer, a drive, a closed and an
// open folder. `ink` paints an image in its colours, or in black for the mask.
void DrawIcons(HDC dc, bool mask) {
  auto c = [mask](COLORREF colour) { return mask ? RGB(0, 0, 0) : colour; };
  const COLORREF outline = RGB(0, 0, 0), folder = RGB(255, 255, 153), shade = RGB(192, 192, 0),
                 metal = RGB(192, 192, 192), screen = RGB(0, 0, 128), dark = RGB(128, 128, 128);
  // 0: computer
  Box(dc, 2, 1, 14, 11, c(outline));
  Box(dc, 3, 2, 13, 10, c(metal));
  Box(dc, 4, 3, 12, 9, c(screen));
  Box(dc, 6, 11, 10, 12, c(dark));
  Box(dc, 3, 12, 13, 15, c(outline));
  Box(dc, 4, 13, 12, 14, c(metal));
  // 1: drive
  Box(dc, 16 + 1, 5, 16 + 15, 12, c(outline));
  Box(dc, 16 + 2, 6, 16 + 14, 11, c(metal));
  Box(dc, 16 + 11, 8, 16 + 13, 9, c(RGB(0, 192, 0)));
  // 2: closed folder, 3: open folder
  for (int i = 0; i < 2; ++i) {
    int x = 32 + 16 * i;
    Box(dc, x + 1, 2, x + 7, 4, c(outline));
    Box(dc, x + 1, 3, x + 15, 14, c(outline));
    Box(dc, x + 2, 4, x + 14, 13, c(folder));
    Box(dc, x + 2, 3, x + 6, 4, c(folder));
    if (i == 1) {
      Box(dc, x + 3, 7, x + 15, 14, c(outline));
      Box(dc, x + 4, 8, x + 14, 13, c(shade));
    }
  }
}

HIMAGELIST FolderImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP images = CreateCompatibleBitmap(dc, 64, 16), mask = CreateCompatibleBitmap(dc, 64, 16);
  for (bool isMask : {false, true}) {
    HGDIOBJ old = SelectObject(dc, isMask ? mask : images);
    Box(dc, 0, 0, 64, 16, RGB(255, 255, 255));
    DrawIcons(dc, isMask);
    SelectObject(dc, old);
  }
  DeleteDC(dc);
  ImageList_Add(list, images, mask);
  DeleteObject(images);
  DeleteObject(mask);
  return list;
}

HTREEITEM Add(HWND tree, const char* text, int image, HTREEITEM parent = TVI_ROOT) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = image == 2 ? 3 : image;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The folder chooser; the sizable one, as its program builds it, has a
// sizing border, the context-help box and a drop-down combo box for the path.
DialogTemplate Chooser(bool sizable) {
  DialogTemplate chooser = Dialog(
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | (sizable ? WS_THICKFRAME : 0), 227, 156,
      "Choose Directory",
      {sizable ? Item(WC_COMBOBOXA, "", 1051, 7, 7, 184, 128, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP)
               : Item(WC_EDITA, "C:\\Games\\Quellmoor", 1051, 7, 7, 184, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
       Item(WC_BUTTONA, "Go", 1052, 194, 7, 26, 12, BS_PUSHBUTTON | WS_TABSTOP),
       Item(WC_TREEVIEWA, "Tree1", kTree, 7, 24, 213, 105,
            WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                TVS_DISABLEDRAGDROP),
       Item(WC_BUTTONA, "OK", IDOK, 114, 135, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
       Item(WC_BUTTONA, "Cancel", IDCANCEL, 170, 135, 50, 14, BS_PUSHBUTTON | WS_TABSTOP)});
  if (sizable) chooser.exStyle = WS_EX_CONTEXTHELP;
  return chooser;
}

// The tree of the pictures, the selection on the game's folder.
void FillTree(HWND tree, HIMAGELIST images) {
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  HTREEITEM computer = Add(tree, "My Computer", 0);
  Add(tree, "3\xC2\xBD Floppy (A:)", 1, computer);
  HTREEITEM c = Add(tree, "(C:)", 1, computer);
  Add(tree, "(D:)", 1, computer);
  Add(tree, "Documents and Settings", 2, c);
  HTREEITEM games = Add(tree, "Games", 2, c);
  Add(tree, "Arcade Classics", 2, games);
  HTREEITEM target = Add(tree, "Quellmoor", 2, games);
  Add(tree, "Sound Tracks and Other Things With a Rather Long Name", 2, games);
  for (const char* name : {"Program Files", "Temp", "Windows"}) Add(tree, name, 2, c);
  Add(tree, "Network Neighborhood", 0);
  Add(tree, "Recycle Bin", 2);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(target));
}

TEST_F(DialogTest, DISABLED_TreeScreenshots) {
  HIMAGELIST images = FolderImages();
  handler = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> std::optional<LONG_PTR> {
    if (message != WM_INITDIALOG) return std::nullopt;
    FillTree(GetDlgItem(dialog, kTree), images);
    SetFocus(GetDlgItem(dialog, kTree));
    return FALSE;
  };
  HWND dialog = Open(Chooser(false));
  HWND tree = GetDlgItem(dialog, kTree);
  EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & WS_HSCROLL);
  EXPECT_TRUE(GetWindowLongA(tree, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "a bordered tree gets the sunken edge";
  SavePaintedShot(dialog, "tree-focused");
  Key(VK_TAB, dialog);
  SavePaintedShot(dialog, "tree-unfocused");
  SendMessageA(tree, WM_VSCROLL, SB_BOTTOM, 0);
  SavePaintedShot(dialog, "tree-scrolled-to-the-end");
  DestroyWindow(dialog);
  ImageList_Destroy(images);
}

TEST_F(DialogTest, DISABLED_ChooserScreenshots) {
  const DialogTemplate dialogTemplate = Chooser(true);
  HIMAGELIST images = FolderImages();
  HWND dialog = nullptr;
  handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LONG_PTR> {
    if (message == WM_INITDIALOG) {
      dialog = hwnd;
      FillTree(GetDlgItem(hwnd, kTree), images);
      HWND combo = GetDlgItem(hwnd, 1051);
      for (const char* entry : {"C:\\Games\\Quellmoor", "C:\\Games", "D:\\Other Games", "E:\\"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
      // More than the list shows: its scroll bar comes.
      for (int i = 1; i <= 16; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("F:\\Archive " + std::to_string(i)).c_str()));
      SetWindowTextA(combo, "C:\\Games\\Quellmoor");
      return TRUE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == NM_RCLICK) {
      HMENU menu = CreatePopupMenu();
      AppendMenuA(menu, MF_STRING | MF_DEFAULT, 1, "&Open");
      AppendMenuA(menu, MF_STRING, 2, "E&xplore");
      AppendMenuA(menu, MF_STRING, 3, "&Find...");
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(menu, MF_STRING | MF_GRAYED, 4, "&Delete");
      AppendMenuA(menu, MF_STRING, 5, "P&roperties");
      POINT at{};
      GetCursorPos(&at);
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
      DestroyMenu(menu);
      return TRUE;
    }
    return std::nullopt;
  };
  RECT corner{};
  auto buttonCentre = [&] {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(dialog, 1051), &info);
    POINT at{(info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2};
    ClientToScreen(info.hwndCombo, &at);
    return at;
  };
  auto itemPoint = [&](const char* text) {
    HWND tree = GetDlgItem(dialog, kTree);
    HTREEITEM item = ui::automation::FindTreeItem(ui::automation::Id(kTree), {"My Computer", "(C:)", text}, dialog);
    return ui::automation::TreeItemPoint(tree, item, false);
  };
  PlayWhenIdle({
      [&] { SaveWindowShot(dialog, "chooser"); },
      [&] { ui::automation::ClickAt(buttonCentre()); },
      [&] {
        SaveWindowShot(dialog, "chooser-combo-open");
        InjectKey(VK_ESCAPE);
      },
      [&] { ui::automation::RightClickAt(itemPoint("Program Files")); },
      [&] {
        SaveWindowShot(dialog, "chooser-popup-menu");
        InjectKey(VK_DOWN);
        InjectKey(VK_DOWN);
      },
      [&] {
        SaveWindowShot(dialog, "chooser-popup-menu-highlight");
        InjectKey(VK_ESCAPE);
      },
      [&] {
        // The bottom right corner dragged out: the window grows, the controls stay.
        GetWindowRect(dialog, &corner);
        Mouse(ui::InputKind::MouseMove, POINT{corner.right - 2, corner.bottom - 2});
        Mouse(ui::InputKind::MouseDown, POINT{corner.right - 2, corner.bottom - 2});
      },
      [&] {
        Mouse(ui::InputKind::MouseMove, POINT{corner.right + 60, corner.bottom + 40});
        Mouse(ui::InputKind::MouseUp, POINT{corner.right + 60, corner.bottom + 40});
      },
      [&] {
        SaveWindowShot(dialog, "chooser-resized");
        EndDialog(dialog, IDOK);
      },
      [] {},  // the loop's last idle point before it sees the end
  });
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, &dialogTemplate, nullptr, Proc, 0), IDOK);
  ui::user::SetIdleHook({});
  ImageList_Destroy(images);
}

}  // namespace
}  // namespace qm::test
