// Writes dialog resources in their binary form for the tests: a
// DLGTEMPLATEEX with the folder chooser's look (template 144: sizing border,
// context-help button, "MS Sans Serif" 8) and its items, as a resource
// compiler lays them out.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

class ResourceBytes {
 public:
  ResourceBytes& Word(WORD value) {
    bytes.push_back(static_cast<BYTE>(value & 0xFF));
    bytes.push_back(static_cast<BYTE>(value >> 8));
    return *this;
  }
  ResourceBytes& Dword(DWORD value) { return Word(static_cast<WORD>(value & 0xFFFF)).Word(static_cast<WORD>(value >> 16)); }
  ResourceBytes& Byte(BYTE value) {
    bytes.push_back(value);
    return *this;
  }
  // ASCII (and UTF-8 two-byte) text as UTF-16, with its terminator.
  ResourceBytes& String(const std::u16string& text) {
    for (char16_t unit : text) Word(static_cast<WORD>(unit));
    return Word(0);
  }
  ResourceBytes& Ordinal(WORD value) { return Word(0xFFFF).Word(value); }
  ResourceBytes& Align() {
    while (bytes.size() % 4) bytes.push_back(0);
    return *this;
  }

  std::vector<BYTE> bytes;
};

struct ExItem {
  WORD classOrdinal;  // 0 for a class by name
  std::u16string className;
  std::u16string text;
  DWORD id;
  short x, y, cx, cy;
  DWORD style;
};

inline constexpr DWORD kChooserStyle = DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | DS_CONTEXTHELP | WS_POPUP |
                                       WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// Template 144's layout in a DLGTEMPLATEEX.
inline std::vector<BYTE> ChooserTemplate() {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const std::vector<ExItem> items = {
      {0x0085, u"", u"", 1051, 7, 7, 184, 128, child | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP},
      {0x0080, u"", u"Go", 1052, 194, 7, 26, 12, child | WS_TABSTOP},
      {0, u"SysTreeView32", u"Tree1", 1049, 7, 24, 213, 105, child | WS_BORDER | WS_TABSTOP},
      {0x0080, u"", u"OK", 1, 114, 135, 50, 14, child | BS_DEFPUSHBUTTON | WS_TABSTOP},
      {0x0080, u"", u"Cancel", 2, 170, 135, 50, 14, child | WS_TABSTOP},
  };
  ResourceBytes out;
  out.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(kChooserStyle);
  out.Word(static_cast<WORD>(items.size())).Word(0).Word(0).Word(227).Word(156);
  out.Word(0).Word(0).String(u"Choose Directory");
  out.Word(8).Word(FW_NORMAL).Byte(0).Byte(1).String(u"MS Sans Serif");
  for (const ExItem& item : items) {
    out.Align().Dword(0).Dword(0).Dword(item.style);
    out.Word(static_cast<WORD>(item.x)).Word(static_cast<WORD>(item.y));
    out.Word(static_cast<WORD>(item.cx)).Word(static_cast<WORD>(item.cy)).Dword(item.id);
    if (item.classOrdinal)
      out.Ordinal(item.classOrdinal);
    else
      out.String(item.className);
    out.String(item.text).Word(0);
  }
  return out.bytes;
}

}  // namespace qm::test
