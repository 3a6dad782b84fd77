// The wizard's classic layout: the page area as large as the largest page,
// an etched line under it, and the row of buttons at the bottom right, Back
// and Next side by side, Finish in Next's place.
#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/propsheet/Sheet.h"

namespace qm::ui::propsheet {
namespace {

constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 6;
constexpr short kLineGap = 5;
// A sheet without page templates still gets the usual page size.
constexpr short kDefaultPageWidth = 294;
constexpr short kDefaultPageHeight = 159;

DialogItemTemplate Button(const char* text, int id, short x, short y, DWORD extraStyle) {
  DialogItemTemplate item;
  item.className = WC_BUTTONA;
  item.text = text;
  item.id = id;
  item.x = x;
  item.y = y;
  item.cx = kButtonWidth;
  item.cy = kButtonHeight;
  item.style = WS_CHILD | WS_TABSTOP | extraStyle;
  return item;
}

}  // namespace

DialogTemplate BuildSheetTemplate(const PROPSHEETHEADERA& header) {
  short pageWidth = 0, pageHeight = 0;
  for (UINT i = 0; i < header.nPages; ++i) {
    const DialogTemplate* page = header.ppsp[i].pResource;
    if (!page) continue;
    pageWidth = std::max(pageWidth, page->cx);
    pageHeight = std::max(pageHeight, page->cy);
  }
  if (pageWidth == 0) pageWidth = kDefaultPageWidth;
  if (pageHeight == 0) pageHeight = kDefaultPageHeight;

  DialogTemplate sheet;
  sheet.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_CLIPCHILDREN | DS_MODALFRAME | DS_3DLOOK |
                DS_SETFONT | DS_CENTER;
  sheet.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  sheet.caption = header.pszCaption ? header.pszCaption : "";
  sheet.fontFace = "MS Sans Serif";
  sheet.pointSize = 8;

  const short width = static_cast<short>(pageWidth + 2 * kMargin);
  const short lineY = static_cast<short>(kMargin + pageHeight + kLineGap);
  const short buttonY = static_cast<short>(lineY + 2 + kLineGap);
  sheet.cx = width;
  sheet.cy = static_cast<short>(buttonY + kButtonHeight + kMargin);

  const short helpX = static_cast<short>(width - kMargin - kButtonWidth);
  const short cancelX = static_cast<short>(helpX - kButtonGap - kButtonWidth);
  const short nextX = static_cast<short>(cancelX - kButtonGap - kButtonWidth);
  const short backX = static_cast<short>(nextX - kButtonWidth);
  sheet.items.push_back(Button("< &Back", ID_WIZBACK, backX, buttonY, WS_VISIBLE | BS_PUSHBUTTON));
  sheet.items.push_back(Button("&Next >", ID_WIZNEXT, nextX, buttonY, WS_VISIBLE | BS_DEFPUSHBUTTON));
  sheet.items.push_back(Button("&Finish", ID_WIZFINISH, nextX, buttonY, BS_PUSHBUTTON));
  sheet.items.push_back(Button("Cancel", IDCANCEL, cancelX, buttonY, WS_VISIBLE | BS_PUSHBUTTON));
  sheet.items.push_back(Button("&Help", IDHELP, helpX, buttonY, WS_VISIBLE | BS_PUSHBUTTON));

  DialogItemTemplate line;
  line.className = WC_STATICA;
  line.id = IDC_STATIC;
  line.x = kMargin;
  line.y = lineY;
  line.cx = static_cast<short>(width - 2 * kMargin);
  line.cy = 2;
  line.style = WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ;
  sheet.items.push_back(line);
  return sheet;
}

RECT PageAreaInDialogUnits(const DialogTemplate& sheetTemplate) {
  const DialogItemTemplate& line = sheetTemplate.items.back();
  return RECT{kMargin, kMargin, static_cast<LONG>(sheetTemplate.cx - kMargin), static_cast<LONG>(line.y - kLineGap)};
}

DialogTemplate BuildChildTemplate(const DialogTemplate& pageTemplate) {
  DialogTemplate child = pageTemplate;
  // A page lives inside the sheet: no frame, caption or visibility of its
  // own; the sheet places, shows and hides it.
  child.style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | WS_DISABLED | DS_MODALFRAME |
                   DS_CENTER | DS_SYSMODAL | DS_ABSALIGN);
  child.style |= WS_CHILD | DS_CONTROL | DS_3DLOOK;
  child.exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
  child.exStyle |= WS_EX_CONTROLPARENT;
  child.x = kMargin;
  child.y = kMargin;
  return child;
}

}  // namespace qm::ui::propsheet
