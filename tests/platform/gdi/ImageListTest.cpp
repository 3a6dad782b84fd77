#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Resources.h"

using qm::test::SurfaceCanvas;

namespace {

const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0), white = RGB(255, 255, 255),
               black = RGB(0, 0, 0);

void Fill(HDC dc, RECT rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// A bitmap of `count` 16x16 images side by side, image i filled with colours[i];
// with `block`, a 4x4 square at (4, 4) of each image in blockColour instead.
HBITMAP Strip(std::vector<COLORREF> colours, bool block = false, COLORREF blockColour = black) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 16 * static_cast<int>(colours.size()), 16);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (std::size_t i = 0; i < colours.size(); ++i) {
    int left = 16 * static_cast<int>(i);
    Fill(dc, {left, 0, left + 16, 16}, colours[i]);
    if (block) Fill(dc, {left + 4, 4, left + 8, 8}, blockColour);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

TEST(ImageList, BitmapStripBecomesImagesAndTheMaskMakesItsWhiteTransparent) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  ASSERT_NE(list, nullptr);
  HBITMAP images = Strip({red, blue});
  HBITMAP mask = Strip({white, white}, true, black);  // only the small squares are opaque
  EXPECT_EQ(ImageList_Add(list, images, mask), 0);
  EXPECT_EQ(ImageList_Add(list, images, mask), 2) << "the index of the first image added";
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(std::tuple(cx, cy), std::tuple(16, 16));

  SurfaceCanvas canvas(20, 20, green);
  EXPECT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 2, 2, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.At(2 + 5, 2 + 5), blue) << "the opaque square of the second image";
  EXPECT_EQ(canvas.At(2 + 0, 2 + 0), green) << "masked pixels leave the background";
  EXPECT_EQ(canvas.At(2 + 12, 2 + 12), green);
  EXPECT_FALSE(ImageList_Draw(list, 4, canvas.dc(), 0, 0, ILD_NORMAL));
  DeleteObject(images);
  DeleteObject(mask);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_FALSE(ImageList_Destroy(list));
}

TEST(ImageList, WithoutIlcMaskTheMaskIsIgnored) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  HBITMAP images = Strip({red});
  HBITMAP mask = Strip({white});
  EXPECT_EQ(ImageList_Add(list, images, mask), 0);
  SurfaceCanvas canvas(16, 16, green);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(canvas.At({{0, 0}, {15, 15}}), (qm::test::Colours{red, red}));
  HBITMAP narrow = CreateCompatibleBitmap(nullptr, 8, 16);
  EXPECT_EQ(ImageList_Add(list, narrow, nullptr), -1) << "a bitmap narrower than one image adds nothing";
  DeleteObject(images);
  DeleteObject(mask);
  DeleteObject(narrow);
  ImageList_Destroy(list);
}

TEST(ImageList, IconsShrinkToTheListsSizeAndKeepTheirTransparency) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  HICON stop = LoadIconA(nullptr, IDI_HAND);  // 32x32, a red disc with transparent corners
  EXPECT_EQ(ImageList_AddIcon(list, stop), 0);
  EXPECT_EQ(ImageList_AddIcon(list, stop), 1);
  HICON warning = LoadIconA(nullptr, IDI_EXCLAMATION);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, warning), 1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 5, warning), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);

  SurfaceCanvas canvas(16, 32, green);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  ImageList_Draw(list, 1, canvas.dc(), 0, 16, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.At(0, 0), green) << "the disc's corner is transparent";
  EXPECT_EQ(canvas.At(3, 8), red) << "the disc's left side";
  EXPECT_EQ(canvas.At(16 - 1, 16 + 1), green);
  EXPECT_EQ(qm::test::InkBounds(canvas.surface(), green).right, 16) << "nothing is drawn beyond 16 pixels";
  ImageList_Destroy(list);
}

}  // namespace
