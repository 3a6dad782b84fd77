#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GdiTestSupport.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Resources.h"

using qm::test::Colours;
using qm::test::SurfaceCanvas;

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An RGBA PNG of an image whose pixels carry their own alpha.
std::vector<unsigned char> RgbaPng(const qm::ui::Surface& image) {
  std::vector<unsigned char> rgba;
  for (std::uint32_t p : image.pixels)
    rgba.insert(rgba.end(), {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                             static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)});
  png_image info{};
  info.version = PNG_IMAGE_VERSION;
  info.width = image.width;
  info.height = image.height;
  info.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&info, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<unsigned char> out(size);
  png_image_write_to_memory(&info, out.data(), &size, 0, rgba.data(), 0, nullptr);
  out.resize(size);
  return out;
}

std::string TempPath(const char* name) { return std::string(std::getenv("HOME")) + "/" + name; }

}  // namespace

TEST(Png, SavedSurfaceLoadsBackAsTheSameBitmap) {
  qm::ui::Surface surface(5, 3, 0xFF102030u);
  surface.At(4, 2) = 0xFFFF0000u;
  surface.At(0, 1) = 0xFF00FF7Fu;
  std::string path = TempPath("round.png");
  ASSERT_TRUE(qm::ui::SavePng(surface, path));
  std::vector<unsigned char> bytes = ReadFile(path);
  HBITMAP bitmap = CreateBitmapFromPng(bytes.data(), bytes.size());
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  EXPECT_EQ(std::tuple(info.bmWidth, info.bmHeight), std::tuple(5, 3));
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, bitmap);
  EXPECT_EQ(GetPixel(memory, 4, 2), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 0, 1), RGB(0, 255, 127));
  EXPECT_EQ(GetPixel(memory, 2, 2), RGB(0x10, 0x20, 0x30));
  DeleteDC(memory);
  DeleteObject(bitmap);
}

// A bitmap is opaque: where its picture is clear or soft it shows the
// dialog face, fully or in part.
TEST(Png, BitmapsPutWhatThePictureLeavesClearOnTheDialogFace) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  struct Row {
    std::uint32_t pixel;
    COLORREF expected;
  } rows[] = {
      {0xFF102030u, RGB(0x10, 0x20, 0x30)},  // opaque: as it is
      {0x00FF0000u, face},                   // clear: the face alone
      {0x80FFFFFFu, RGB((0xFF * 0x80 + GetRValue(face) * 0x7F + 127) / 255,
                        (0xFF * 0x80 + GetGValue(face) * 0x7F + 127) / 255,
                        (0xFF * 0x80 + GetBValue(face) * 0x7F + 127) / 255)},
      {0x01000000u, RGB((GetRValue(face) * 0xFE + 127) / 255, (GetGValue(face) * 0xFE + 127) / 255,
                        (GetBValue(face) * 0xFE + 127) / 255)},
  };
  qm::ui::Surface image(static_cast<int>(std::size(rows)), 1);
  for (std::size_t i = 0; i < std::size(rows); ++i) image.At(static_cast<int>(i), 0) = rows[i].pixel;
  std::vector<unsigned char> png = RgbaPng(image);
  HBITMAP bitmap = CreateBitmapFromPng(png.data(), png.size());
  ASSERT_NE(bitmap, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, bitmap);
  for (std::size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(GetPixel(memory, static_cast<int>(i), 0), rows[i].expected) << "pixel " << std::hex << rows[i].pixel;
  DeleteDC(memory);
  DeleteObject(bitmap);
}

TEST(Png, BrokenDataAndUnwritablePathsFail) {
  const unsigned char junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_EQ(CreateBitmapFromPng(junk, sizeof junk), nullptr);
  EXPECT_EQ(CreateIconFromPng(junk, sizeof junk), nullptr);
  EXPECT_FALSE(qm::ui::SavePng(qm::ui::Surface(2, 2), TempPath("missing-folder/x.png")));
}

// Loads of one picture share its decoding but never its pixels: what is
// drawn into one bitmap stays out of the others, and a picture registered
// anew is what the next load shows.
TEST(Png, EveryLoadOfABitmapResourceGetsAPictureOfItsOwn) {
  constexpr UINT kId = 9001;
  const std::vector<unsigned char> first = RgbaPng(qm::ui::Surface(2, 1, 0xFF102030u));
  qm::ui::RegisterBitmapResource(kId, first.data(), first.size());
  HBITMAP a = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kId));
  HBITMAP b = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kId));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, a);
  SetPixel(memory, 0, 0, RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(255, 0, 0));
  SelectObject(memory, b);
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0x10, 0x20, 0x30)) << "a second load shares the first one's pixels";

  const std::vector<unsigned char> second = RgbaPng(qm::ui::Surface(2, 1, 0xFF405060u));
  qm::ui::RegisterBitmapResource(kId, second.data(), second.size());
  HBITMAP c = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kId));
  ASSERT_NE(c, nullptr);
  SelectObject(memory, c);
  EXPECT_EQ(GetPixel(memory, 1, 0), RGB(0x40, 0x50, 0x60)) << "the picture registered last";
  SelectObject(memory, b);
  EXPECT_EQ(GetPixel(memory, 1, 0), RGB(0x10, 0x20, 0x30));
  DeleteDC(memory);
  for (HBITMAP bitmap : {a, b, c}) EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Icons, TransparentPartsLeaveTheBackground) {
  qm::ui::Surface image(3, 1, 0);
  image.At(0, 0) = 0xFFFF0000u;  // opaque red
  image.At(1, 0) = 0x000000FFu;  // fully transparent blue
  image.At(2, 0) = 0x80FFFFFFu;  // half-transparent white
  std::vector<unsigned char> png = RgbaPng(image);
  HICON icon = CreateIconFromPng(png.data(), png.size());
  ASSERT_NE(icon, nullptr);
  SurfaceCanvas canvas(5, 2, RGB(0, 255, 0));
  EXPECT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(canvas.At({{1, 1}, {2, 1}, {3, 1}}), (Colours{RGB(255, 0, 0), RGB(0, 255, 0), RGB(128, 255, 128)}));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
}

TEST(Icons, SystemIconsAreThirtyTwoPixelsWithTheirClassicColours) {
  struct Row {
    LPCSTR id;
    COLORREF centre;
  } rows[] = {{IDI_HAND, RGB(255, 0, 0)}, {IDI_EXCLAMATION, RGB(255, 255, 0)}, {IDI_ASTERISK, RGB(0, 0, 255)},
              {IDI_QUESTION, RGB(255, 255, 255)}, {IDI_APPLICATION, RGB(255, 255, 255)}};
  for (const Row& row : rows) {
    SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(row.id));
    HICON icon = LoadIconA(nullptr, row.id);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, row.id), icon);
    SurfaceCanvas canvas(40, 40, RGB(192, 192, 192));
    DrawIcon(canvas.dc(), 0, 0, icon);
    const RECT ink = qm::test::InkBounds(canvas.surface(), RGB(192, 192, 192));
    EXPECT_GE(ink.right - ink.left, 28);
    EXPECT_LE(ink.right, 32);
    EXPECT_LE(ink.bottom, 32);
    // The stop sign is red around its cross, the warning yellow around its
    // mark, the information mark blue, the question balloon white.
    POINT probe = row.id == IDI_HAND ? POINT{15, 6} : row.id == IDI_EXCLAMATION ? POINT{8, 26}
                : row.id == IDI_ASTERISK ? POINT{15, 15} : row.id == IDI_QUESTION ? POINT{6, 12} : POINT{15, 20};
    EXPECT_EQ(canvas.At(probe.x, probe.y), row.centre);
    EXPECT_TRUE(DestroyIcon(icon));  // shared: still usable afterwards
    EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, icon));
  }
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

TEST(Resources, StringsLoadByIdAndTruncateWithATerminator) {
  qm::ui::RegisterStringResource(110, "Install");
  char buffer[32] = "untouched";
  EXPECT_EQ(LoadStringA(nullptr, 999, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(LoadStringA(nullptr, 110, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "Install");
  char small[4];
  EXPECT_EQ(LoadStringA(nullptr, 110, small, sizeof small), 3);
  EXPECT_STREQ(small, "Ins");
  qm::ui::RegisterStringResource(111, "Gr\xC3\xBC\xC3\x9F");
  char cut[4];
  EXPECT_EQ(LoadStringA(nullptr, 111, cut, sizeof cut), 2);  // never half a character
  EXPECT_STREQ(cut, "Gr");
}

TEST(Resources, BitmapsIconsAndDialogsById) {
  std::string path = TempPath("pic.png");
  ASSERT_TRUE(qm::ui::SavePng(qm::ui::Surface(7, 4, 0xFF00FF00u), path));
  std::vector<unsigned char> bytes = ReadFile(path);
  qm::ui::RegisterBitmapResource(130, bytes.data(), bytes.size());
  qm::ui::RegisterIconResource(128, bytes.data(), bytes.size());
  HBITMAP bitmap = LoadBitmapA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(130));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(LoadBitmapA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(131)), nullptr);
  HICON icon = LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(128));
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(128)), icon);
  DeleteObject(bitmap);

  DialogTemplate dialog;
  dialog.caption = "Copying files..";
  qm::ui::RegisterDialogResource(137, dialog);
  ASSERT_NE(qm::ui::FindDialogResource(137), nullptr);
  EXPECT_EQ(qm::ui::FindDialogResource(137)->caption, "Copying files..");
  EXPECT_EQ(qm::ui::FindDialogResource(138), nullptr);
}
