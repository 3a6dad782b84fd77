#include "TreeViewTestSupport.h"

namespace qm::test {
namespace {

const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), grey = RGB(128, 128, 128),
               face = RGB(192, 192, 192), navy = RGB(0, 0, 128);

TEST_F(TreeTest, LinesAndButtonsDrawInTheClassicLook) {
  HWND tree = MakeTree();
  HTREEITEM open = Insert(tree, "open");
  Insert(tree, "first", open);
  Insert(tree, "second", open);
  HTREEITEM closed = Insert(tree, "closed");
  Insert(tree, "hidden", closed);
  Expand(tree, open);
  auto picture = Capture(tree);
  EXPECT_EQ(picture.At(100, 190), white) << "a white field";

  for (HTREEITEM item : {open, closed}) {
    bool expanded = item == open;
    SCOPED_TRACE(expanded ? "minus" : "plus");
    POINT c = ButtonPoint(tree, item);
    // A 9 by 9 grey box, white inside, a black bar across and, closed, one down.
    EXPECT_EQ(picture.At(c.x - 4, c.y - 4), grey);
    EXPECT_EQ(picture.At(c.x + 4, c.y + 4), grey);
    EXPECT_EQ(picture.At(c.x - 4, c.y), grey);
    EXPECT_EQ(picture.At(c.x - 3, c.y - 3), white);
    EXPECT_EQ(picture.At(c.x - 2, c.y), black);
    EXPECT_EQ(picture.At(c.x + 2, c.y), black);
    EXPECT_EQ(picture.At(c.x, c.y - 2), expanded ? white : black);
    EXPECT_EQ(picture.At(c.x, c.y + 2), expanded ? white : black);
    EXPECT_EQ(picture.At(c.x - 5, c.y - 5), white) << "nothing drawn around the box";
  }

  // Dotted lines: down the top-level column between the two buttons, and
  // across from the open item's column to each child.
  POINT top = ButtonPoint(tree, open), bottom = ButtonPoint(tree, closed);
  int dots = picture.Count(RECT{top.x, top.y + 6, top.x + 1, bottom.y - 5}, grey);
  int gaps = picture.Count(RECT{top.x, top.y + 6, top.x + 1, bottom.y - 5}, white);
  EXPECT_GT(dots, 10);
  EXPECT_LE(std::abs(dots - gaps), 1) << "every other pixel";
  HTREEITEM child = Next(tree, TVGN_CHILD, open);
  RECT label = Label(tree, child);
  int middle = (label.top + label.bottom) / 2;
  int across = picture.Count(RECT{top.x + 19, middle, label.left - 1, middle + 1}, grey);
  EXPECT_GE(across, 3) << "a horizontal line from the parent's column to the child";
  EXPECT_EQ(picture.Count(RECT{0, bottom.y + 5, 200, 200}, grey), 0) << "no line below the last item";
}

TEST_F(TreeTest, SelectionIsNavyWithFocusAndGreyWithoutItWhenShownAlways) {
  struct Row { const char* name; DWORD style; bool focused; COLORREF background; COLORREF text; } rows[] = {
      {"focused", kClassicStyle, true, navy, white},
      {"unfocused, shown always", kClassicStyle, false, face, black},
      {"unfocused, not shown", kClassicStyle & ~TVS_SHOWSELALWAYS, false, white, black},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND tree = MakeTree(row.style);
    Insert(tree, "before");
    HTREEITEM item = Insert(tree, "Selected item");
    SelectItem(tree, item);
    if (row.focused) SetFocus(tree);
    auto picture = Capture(tree);
    RECT label = Label(tree, item);
    EXPECT_EQ(picture.At(label.left + 1, label.top + 1), row.background);
    EXPECT_EQ(picture.At(label.right - 2, label.bottom - 2), row.background);
    RECT inside{label.left + 2, label.top + 2, label.right - 2, label.bottom - 2};
    EXPECT_GT(picture.Count(inside, row.text), 5) << "the label's text";
    EXPECT_EQ(picture.At(label.right + 2, label.top + 2), white) << "only the label is highlighted";
    // The focus rectangle: every other pixel of the highlight's edge inverted.
    COLORREF corner = picture.At(label.left, label.top);
    if (row.focused)
      EXPECT_EQ(corner, RGB(255, 255, 127));
    else
      EXPECT_EQ(corner, row.background);
    RECT other = Label(tree, Next(tree, TVGN_ROOT));
    EXPECT_EQ(picture.Count(other, navy), 0);
    DestroyWindow(frame);
  }
}

TEST_F(TreeTest, IconsComeFromTheImageListAndTheSelectedItemShowsItsSelectedImage) {
  HWND tree = MakeTree();
  // Image 0 a blue square, image 1 (every item's selected image) a red one.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(dc, 32, 16);
  HGDIOBJ old = SelectObject(dc, strip);
  for (const auto& [square, colour] :
       {std::pair{RECT{0, 0, 16, 16}, RGB(0, 0, 255)}, std::pair{RECT{16, 0, 32, 16}, RGB(255, 0, 0)}}) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &square, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_Add(images, strip, nullptr);
  DeleteObject(strip);
  EXPECT_EQ(SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images)), 0);
  HTREEITEM plain = Insert(tree, "plain");
  HTREEITEM chosen = Insert(tree, "chosen");
  SelectItem(tree, chosen);
  auto picture = Capture(tree);
  auto iconArea = [&](HTREEITEM item) {
    RECT label = Label(tree, item);
    return RECT{label.left - 17, label.top, label.left - 1, label.bottom};
  };
  const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
  EXPECT_EQ(picture.Count(iconArea(plain), blue), 256);
  EXPECT_EQ(picture.Count(iconArea(plain), red), 0);
  EXPECT_EQ(picture.Count(iconArea(chosen), red), 256);
  EXPECT_GE(Label(tree, plain).bottom - Label(tree, plain).top, 18) << "rows make room for the icons";
  DestroyWindow(frame);
  ImageList_Destroy(images);
}

}  // namespace
}  // namespace qm::test
