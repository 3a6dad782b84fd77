#include "ControlTest.h"
#include "platform/ui/Resources.h"

namespace qm::test {
namespace {

using StaticTest = ControlTest;

int RowsWithInk(const UiTest::ClientPicture& picture, COLORREF background) {
  int rows = 0;
  for (int y = 0; y < picture.height; ++y) {
    bool ink = false;
    for (int x = 0; x < picture.width; ++x) ink = ink || picture.At(x, y) != background;
    rows += ink;
  }
  return rows;
}

TEST_F(StaticTest, LeftTextWrapsAtWordsAndNoWrapTextDoesNot) {
  const char* text = "Setup will install Quellmoor in the following folder.";
  HWND wrapped = CreateControl(parent, WC_STATICA, text, SS_LEFT, RECT{10, 10, 110, 90}, 1);
  HWND unwrapped = CreateControl(parent, WC_STATICA, text, SS_LEFTNOWORDWRAP, RECT{10, 100, 110, 180}, 2);
  const COLORREF face = RGB(192, 192, 192);
  int wrappedRows = RowsWithInk(Capture(wrapped), face);
  int unwrappedRows = RowsWithInk(Capture(unwrapped), face);
  EXPECT_GT(unwrappedRows, 5);
  EXPECT_GT(wrappedRows, 2 * unwrappedRows);
}

TEST_F(StaticTest, NewlinesBreakLines) {
  HWND one = CreateControl(parent, WC_STATICA, "Line", SS_LEFT, RECT{10, 10, 200, 90}, 1);
  HWND three = CreateControl(parent, WC_STATICA, "Line\n\nLine", SS_LEFT, RECT{10, 100, 200, 180}, 2);
  auto single = Capture(one);
  auto triple = Capture(three);
  EXPECT_EQ(triple.Count(RGB(0, 0, 0)), 2 * single.Count(RGB(0, 0, 0)));
  EXPECT_EQ(RowsWithInk(triple, RGB(192, 192, 192)), 2 * RowsWithInk(single, RGB(192, 192, 192)));
}

TEST_F(StaticTest, ParentChoosesTheBackgroundThroughCtlColorStatic) {
  parentStaticBrush = CreateSolidBrush(RGB(0, 128, 0));
  HWND label = CreateControl(parent, WC_STATICA, "Space required", SS_LEFT, RECT{10, 10, 200, 30}, 1);
  EXPECT_EQ(Capture(label).At(180, 15), RGB(0, 128, 0));
  DestroyWindow(label);
  DeleteObject(parentStaticBrush);
  parentStaticBrush = nullptr;
}

TEST_F(StaticTest, IconStaticTakesTheIconsSizeAndShowsIt) {
  HWND picture = CreateControl(parent, WC_STATICA, "", SS_ICON, RECT{10, 10, 40, 40}, 1);
  HICON icon = LoadIconA(nullptr, IDI_QUESTION);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0), 0);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(picture, STM_GETICON, 0, 0)), icon);
  EXPECT_EQ(ClientRect(picture).right, GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(ClientRect(picture).bottom, GetSystemMetrics(SM_CYICON));
  auto shown = Capture(picture);
  EXPECT_LT(shown.Count(RGB(192, 192, 192)), shown.width * shown.height / 2);
}

}  // namespace
}  // namespace qm::test
