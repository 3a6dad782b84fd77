// PropertySheetA itself, seen from page dialog procedures that use no
// framework: the sheet's layout, what a page receives, and how a sheet ends.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "support/DialogTemplates.h"
#include "support/ScreenTest.h"
#include "support/UiTest.h"
#include "support/WindowRects.h"

namespace qm::test {
namespace {

struct PageRecord {
  std::vector<UINT> notifications;
  LPARAM initParam = 0;
  LRESULT resetAnswer = 0;
  LRESULT queryCancelAnswer = 0;
};
std::map<HWND, PageRecord*>& Records() {
  static std::map<HWND, PageRecord*> records;
  return records;
}

LONG_PTR PageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* header = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
    auto* record = reinterpret_cast<PageRecord*>(header->lParam);
    record->initParam = lParam;
    Records()[page] = record;
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  PageRecord* record = Records()[page];
  const UINT code = reinterpret_cast<NMHDR*>(lParam)->code;
  record->notifications.push_back(code);
  LRESULT answer = 0;
  if (code == PSN_RESET) answer = record->resetAnswer;
  if (code == PSN_QUERYCANCEL) answer = record->queryCancelAnswer;
  SetWindowLongPtrA(page, DWLP_MSGRESULT, answer);
  return TRUE;
}

DialogTemplate Page(short cx, short cy) {
  return Dialog(WS_CHILD | WS_CAPTION | WS_DISABLED, cx, cy, "", {Item(WC_STATICA, "Page", -1, 0, 0, 40, 8, 0)});
}

class PropertySheetTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    for (std::size_t i = 0; i < 2; ++i) {
      PROPSHEETPAGEA page{};
      page.dwSize = sizeof page;
      page.dwFlags = PSP_DLGINDIRECT;
      page.pResource = &templates[i];
      page.pfnDlgProc = &PageProc;
      page.lParam = reinterpret_cast<LPARAM>(&records[i]);
      pages.push_back(page);
    }
  }
  void TearDown() override {
    if (IsWindow(sheet)) DestroyWindow(sheet);
    Records().clear();
    ScreenTest::TearDown();
  }

  PROPSHEETHEADERA Header(DWORD flags) {
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | flags;
    header.pszCaption = "Raw Wizard";
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    return header;
  }

  HWND OpenModeless() {
    PROPSHEETHEADERA header = Header(PSH_WIZARD | PSH_MODELESS);
    sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    return sheet;
  }

  HWND PageWindow(int index) {
    for (auto& [hwnd, record] : Records())
      if (record == &records[index]) return hwnd;
    return nullptr;
  }

  DialogTemplate templates[2] = {Page(294, 159), Page(200, 120)};
  PageRecord records[2];
  std::vector<PROPSHEETPAGEA> pages;
  HWND sheet = nullptr;
};

TEST_F(PropertySheetTest, PageReceivesItsOwnHeaderCopyAtInitialisation) {
  ASSERT_NE(OpenModeless(), nullptr);
  auto* header = reinterpret_cast<const PROPSHEETPAGEA*>(records[0].initParam);
  ASSERT_NE(header, nullptr);
  EXPECT_NE(header, &pages[0]);
  EXPECT_EQ(header->lParam, reinterpret_cast<LPARAM>(&records[0]));
  EXPECT_EQ(header->pResource, &templates[0]);
  EXPECT_EQ(records[1].initParam, 0);
  EXPECT_EQ(records[0].notifications, (std::vector<UINT>{PSN_SETACTIVE}));
}

TEST_F(PropertySheetTest, LayoutGivesEveryPageTheLargestPageAreaWithTheButtonsBelow) {
  ASSERT_NE(OpenModeless(), nullptr);
  EXPECT_EQ(UiTest::TextOf(sheet), "Raw Wizard");
  SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  const RECT first = RectIn(sheet, PageWindow(0));
  const RECT second = RectIn(sheet, PageWindow(1));
  EXPECT_EQ(std::vector<LONG>({first.left, first.top, first.right, first.bottom}),
            std::vector<LONG>({second.left, second.top, second.right, second.bottom}));
  RECT units{0, 0, 294, 159};
  MapDialogRect(sheet, &units);
  // Edges round one by one: a pixel either way.
  EXPECT_NEAR(first.right - first.left, units.right, 1);
  EXPECT_NEAR(first.bottom - first.top, units.bottom, 1);
  EXPECT_EQ(GetWindowLongA(PageWindow(0), GWL_STYLE) & (WS_CAPTION | WS_POPUP), 0);

  const RECT back = RectIn(sheet, GetDlgItem(sheet, ID_WIZBACK));
  const RECT next = RectIn(sheet, GetDlgItem(sheet, ID_WIZNEXT));
  const RECT finish = RectIn(sheet, GetDlgItem(sheet, ID_WIZFINISH));
  const RECT cancel = RectIn(sheet, GetDlgItem(sheet, IDCANCEL));
  const RECT help = RectIn(sheet, GetDlgItem(sheet, IDHELP));
  RECT client = ClientRect(sheet);
  EXPECT_GT(back.top, first.bottom);
  EXPECT_EQ(back.right, next.left);  // Back and Next side by side
  EXPECT_EQ(finish.left, next.left);
  EXPECT_EQ(finish.top, next.top);
  EXPECT_LT(next.right, cancel.left);
  EXPECT_LT(cancel.right, help.left);
  EXPECT_GT(help.right, client.right - units.right / 20);
  EXPECT_EQ(back.top, help.top);
}

TEST_F(PropertySheetTest, ResetAnswersDecideWhetherAModelessSheetStays) {
  struct Row { LRESULT firstAnswer, secondAnswer; bool stays; };
  for (const Row& row : {Row{0, 0, false}, Row{TRUE, 0, true}, Row{0, TRUE, true}}) {
    SCOPED_TRACE(std::to_string(row.firstAnswer) + "," + std::to_string(row.secondAnswer));
    records[0] = PageRecord{};
    records[1] = PageRecord{};
    records[0].resetAnswer = row.firstAnswer;
    records[1].resetAnswer = row.secondAnswer;
    Records().clear();
    ASSERT_NE(OpenModeless(), nullptr);
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(IsWindow(sheet) != FALSE, row.stays);
    EXPECT_EQ(records[0].notifications.back(), PSN_RESET);
    EXPECT_EQ(records[1].notifications.back(), PSN_RESET);
    if (row.stays) {
      EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)), PageWindow(1));
      DestroyWindow(sheet);
    }
  }
}

TEST_F(PropertySheetTest, EscapeAsksTheCurrentPageWhetherToCancel) {
  records[0].queryCancelAnswer = TRUE;
  ASSERT_NE(OpenModeless(), nullptr);
  MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  ASSERT_TRUE(IsChild(sheet, escape.hwnd));
  EXPECT_TRUE(SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&escape)));
  Pump();
  EXPECT_EQ(records[0].notifications, (std::vector<UINT>{PSN_SETACTIVE, PSN_QUERYCANCEL}));
  EXPECT_TRUE(IsWindow(sheet));
}

TEST_F(PropertySheetTest, SheetsOutsideWizardModeAreRefused) {
  PROPSHEETHEADERA header = Header(PSH_MODELESS);
  EXPECT_EQ(PropertySheetA(&header), -1);
  EXPECT_EQ(PropertySheetA(nullptr), -1);
}

}  // namespace
}  // namespace qm::test
