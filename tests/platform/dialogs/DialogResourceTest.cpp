// Dialog resources in their binary form: the extended template of the
// folder chooser, a plain one with ordinals, and data that is cut short or
// holds what the dialog manager does not support.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinGdi.h"
#include "platform/dialogs/DialogResourceBytes.h"

namespace qm::test {
namespace {

TEST(DialogResourceTest, ReadsTheExtendedTemplateOfTheFolderChooser) {
  const std::vector<BYTE> bytes = ChooserTemplate();
  DialogTemplate t;
  ASSERT_TRUE(ParseDialogResource(bytes.data(), bytes.size(), t));
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.style, kChooserStyle);
  EXPECT_EQ(t.caption, "Choose Directory");
  EXPECT_EQ(std::pair(t.fontFace, t.pointSize), (std::pair<std::string, WORD>("MS Sans Serif", 8)));
  EXPECT_EQ(t.fontWeight, FW_NORMAL);
  EXPECT_FALSE(t.fontItalic);
  EXPECT_EQ(t.fontCharset, 1);
  EXPECT_EQ(std::pair(t.cx, t.cy), (std::pair<short, short>(227, 156)));
  struct Expected { const char* className; const char* text; int id; short x, y, cx, cy; };
  const Expected expected[] = {{"COMBOBOX", "", 1051, 7, 7, 184, 128},     {"BUTTON", "Go", 1052, 194, 7, 26, 12},
                               {"SysTreeView32", "Tree1", 1049, 7, 24, 213, 105}, {"BUTTON", "OK", 1, 114, 135, 50, 14},
                               {"BUTTON", "Cancel", 2, 170, 135, 50, 14}};
  ASSERT_EQ(t.items.size(), std::size(expected));
  for (std::size_t i = 0; i < t.items.size(); ++i) {
    SCOPED_TRACE(expected[i].text);
    const DialogItemTemplate& item = t.items[i];
    const Expected& e = expected[i];
    EXPECT_EQ(std::tuple(item.className, item.text, item.id), std::tuple(e.className, e.text, e.id));
    EXPECT_EQ(std::tuple(item.x, item.y, item.cx, item.cy), std::tuple(e.x, e.y, e.cx, e.cy));
    EXPECT_TRUE(item.style & WS_CHILD);
  }
  EXPECT_EQ(t.items[0].style & 0x3, CBS_DROPDOWN);
  EXPECT_EQ(t.items[3].style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(DialogResourceTest, ReadsAPlainTemplateWithOrdinalsAndStaticIds) {
  ResourceBytes out;
  out.Dword(WS_POPUP | WS_CAPTION | DS_SETFONT).Dword(WS_EX_TOOLWINDOW).Word(2).Word(1).Word(2).Word(100).Word(40);
  out.Word(0).Word(0).String(u"Caf\u00e9").Word(9).String(u"Times Roman");
  out.Align().Dword(WS_CHILD | WS_VISIBLE | SS_ICON).Dword(0).Word(4).Word(4).Word(20).Word(20).Word(0xFFFF);
  out.Ordinal(0x0082).Ordinal(130).Word(0);
  // An item with creation data: its bytes are skipped.
  out.Align().Dword(WS_CHILD | WS_VISIBLE | WS_BORDER).Dword(0).Word(30).Word(4).Word(60).Word(12).Word(1009);
  out.Ordinal(0x0081).String(u"").Word(3).Byte(1).Byte(2).Byte(3);
  DialogTemplate t;
  ASSERT_TRUE(ParseDialogResource(out.bytes.data(), out.bytes.size(), t));
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(t.caption, "Caf\xC3\xA9") << "UTF-16 becomes UTF-8";
  EXPECT_EQ(t.fontFace, "Times Roman");
  EXPECT_EQ(t.pointSize, 9);
  EXPECT_EQ(t.fontWeight, 0) << "plain templates name no weight";
  ASSERT_EQ(t.items.size(), 2u);
  EXPECT_EQ(std::tuple(t.items[0].className, t.items[0].id, t.items[0].imageId),
            std::tuple(std::string(WC_STATICA), IDC_STATIC, 130));
  EXPECT_EQ(std::tuple(t.items[1].className, t.items[1].id, t.items[1].x), std::tuple(std::string(WC_EDITA), 1009, 30));
}

TEST(DialogResourceTest, DataCutShortIsRefusedAtEveryLength) {
  const std::vector<BYTE> bytes = ChooserTemplate();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    // A copy of just that length, so reading past it would be caught by the address checker.
    std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    DialogTemplate t;
    t.caption = "untouched";
    EXPECT_FALSE(ParseDialogResource(cut.data(), cut.size(), t));
    EXPECT_EQ(t.caption, "untouched");
  }
  DialogTemplate t;
  EXPECT_FALSE(ParseDialogResource(nullptr, 64, t));
}

TEST(DialogResourceTest, WhatTheDialogManagerCannotShowIsRefused) {
  struct Case {
    const char* name;
    WORD menu;          // an ordinal menu, 0 for none
    WORD classOrdinal;  // the item's class
  };
  const Case cases[] = {{"a menu bar", 120, 0x0080}, {"an unknown class ordinal", 0, 0x0099}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceBytes out;
    out.Dword(WS_POPUP).Dword(0).Word(1).Word(0).Word(0).Word(50).Word(20);
    if (c.menu)
      out.Ordinal(c.menu);
    else
      out.Word(0);
    out.Word(0).String(u"x");
    out.Align().Dword(WS_CHILD).Dword(0).Word(0).Word(0).Word(10).Word(10).Word(1).Ordinal(c.classOrdinal);
    out.String(u"").Word(0);
    DialogTemplate t;
    EXPECT_FALSE(ParseDialogResource(out.bytes.data(), out.bytes.size(), t));
  }
}

}  // namespace
}  // namespace qm::test
