// The shell's small icons as pixel pictures, one character a pixel: the
// classic icons are drawn pixel by pixel at this size, not scaled down.
#include "platform/ui/ShellIcons.h"

#include <array>
#include <cstdint>

#include "platform/ui/gdi/Icons.h"

namespace qm::ui {

namespace {

using Picture = std::array<const char*, kSmallIconSize>;

// '.' is transparent.
std::uint32_t Colour(char c) {
  switch (c) {
    case 'K': return 0xFF000000;  // black
    case 'G': return 0xFF808080;  // grey
    case 'S': return 0xFFC0C0C0;  // silver
    case 'W': return 0xFFFFFFFF;  // white
    case 'O': return 0xFF808000;  // olive, the folder's edge
    case 'Y': return 0xFFFFFF00;  // yellow
    case 'y': return 0xFFE0C060;  // the folder's shaded back
    case 'T': return 0xFF008080;  // teal, the desktop's colour
    case 'N': return 0xFF000080;  // navy, a caption
    case 'L': return 0xFF00FF00;  // lime, a lamp
    default: return 0x00000000;
  }
}

constexpr Picture kDesktop = {
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KSSSSSSSSSSSSK.",
    ".KSTTTTTTTTTTSK.",
    ".KSTWTTNNNNNTSK.",
    ".KSTTTTNWWWNTSK.",
    ".KSTWTTNWWWNTSK.",
    ".KSTTTTNNNNNTSK.",
    ".KSTWTTTTTTTTSK.",
    ".KSTTTTTTTTTTSK.",
    ".KSNNNNNNNNNNSK.",
    ".KSSSSSSSSSSSSK.",
    ".KKKKKKKKKKKKKK.",
    "......KSSK......",
    "....KKKKKKKK....",
    "................",
};

constexpr Picture kComputer = {
    "................",
    "..KKKKKKKKKKK...",
    "..KSSSSSSSSSK...",
    "..KSKKKKKKKSKG..",
    "..KSKTTTTTKSKG..",
    "..KSKTTTTTKSKG..",
    "..KSKTTTTTKSKG..",
    "..KSWWWWWWWSKG..",
    "..KKKKKKKKKKKG..",
    "....KSSSSSKGG...",
    ".KKKKKKKKKKKKK..",
    ".KWWWWWWWWWWSKG.",
    ".KSSSSSSSLLSSKG.",
    ".KKKKKKKKKKKKKG.",
    "..GGGGGGGGGGGGG.",
    "................",
};

constexpr Picture kFixedDrive = {
    "................",
    "................",
    "................",
    "................",
    "................",
    "...KKKKKKKKKKKK.",
    "..KWWWWWWWWWWSK.",
    ".KWWWWWWWWWWSGK.",
    "KKKKKKKKKKKKKGK.",
    "KWWWWWWWWWWWKGK.",
    "KWSSSSSSSSSSKGK.",
    "KWSSSSSSSLLSKK..",
    "KGGGGGGGGGGGK...",
    "KKKKKKKKKKKKK...",
    "................",
    "................",
};

constexpr Picture kFolder = {
    "................",
    "................",
    "..OOOOO.........",
    ".OWYYYYO........",
    "OWYYYYYYOOOOOO..",
    "OWWWWWWWWWWWWO..",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OWYYYYYYYYYYYOK.",
    "OOOOOOOOOOOOOOK.",
    ".KKKKKKKKKKKKKK.",
    "................",
};

constexpr Picture kOpenFolder = {
    "................",
    "................",
    "..OOOOO.........",
    ".OWyyyyO........",
    "OWyyyyyyOOOOOO..",
    "OWyyyyyyyyyyyO..",
    "OWyyyyyyyyyyyO..",
    "OWyyOOOOOOOOOOOO",
    "OWyOWWWWWWWWWWOK",
    "OWOWYYYYYYYYYOK.",
    "OWOWYYYYYYYYYOK.",
    "OOWYYYYYYYYYOK..",
    "OOWYYYYYYYYYOK..",
    "OOOOOOOOOOOOK...",
    ".KKKKKKKKKKKK...",
    "................",
};

constexpr Picture kFile = {
    "..KKKKKKKK......",
    "..KWWWWWWKK.....",
    "..KWWWWWWKWK....",
    "..KWWWWWWKWWK...",
    "..KWWWWWWKKKKK..",
    "..KWWWWWWWWWWK..",
    "..KWGGGGGGGGWK..",
    "..KWWWWWWWWWWK..",
    "..KWGGGGGGGGWK..",
    "..KWWWWWWWWWWK..",
    "..KWGGGGGGGGWK..",
    "..KWWWWWWWWWWK..",
    "..KWGGGGGWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
    "................",
};

constexpr std::array<const Picture*, kShellIconCount> kPictures = {&kDesktop,    &kComputer,   &kFixedDrive,
                                                                   &kFolder,     &kOpenFolder, &kFile};

Surface Draw(const Picture& picture) {
  Surface image(kSmallIconSize, kSmallIconSize, 0);
  for (int y = 0; y < kSmallIconSize; ++y)
    for (int x = 0; x < kSmallIconSize && picture[y][x]; ++x) image.At(x, y) = Colour(picture[y][x]);
  return image;
}

}  // namespace

HICON SmallShellIcon(ShellIcon kind) {
  static std::array<HICON, kShellIconCount> icons{};
  auto index = static_cast<std::size_t>(kind);
  if (index >= icons.size()) return nullptr;
  if (!icons[index]) icons[index] = gdi::InsertIcon(Draw(*kPictures[index]), true);
  return icons[index];
}

HIMAGELIST SmallShellImageList() {
  static HIMAGELIST list = [] {
    HIMAGELIST images = ImageList_Create(kSmallIconSize, kSmallIconSize, ILC_COLOR32, kShellIconCount, 0);
    for (int i = 0; i < kShellIconCount; ++i) ImageList_AddIcon(images, SmallShellIcon(static_cast<ShellIcon>(i)));
    return images;
  }();
  return list;
}

}  // namespace qm::ui
