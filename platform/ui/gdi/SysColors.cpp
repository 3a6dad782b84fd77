// The classic system palette: grey 3-D faces, navy captions.
#include <array>
#include <memory>

#include "platform/ui/WinUser.h"
#include "platform/ui/gdi/GdiObjects.h"

namespace {

constexpr int kColorCount = COLOR_GRADIENTINACTIVECAPTION + 1;

constexpr std::array<COLORREF, kColorCount> kClassicColors{
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // (unused slot)
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
};

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kColorCount) return 0;
  return kClassicColors[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kColorCount) return nullptr;
  static std::array<HBRUSH, kColorCount> brushes{};
  if (brushes[index] == nullptr) {
    auto brush = std::make_unique<qm::ui::gdi::BrushObject>();
    brush->color = kClassicColors[index];
    brush->stock = true;
    brushes[index] = qm::ui::gdi::InsertObject(std::move(brush));
  }
  return brushes[index];
}
