// The installer's dialogs as the dialog manager lays them out with the
// installed fonts: every picture a template names exists, and no text is cut
// off by the control that shows it.
#include <gtest/gtest.h>

#include <string>

#include "install/resources/DialogTemplates.h"
#include "install/resources/InstallerResources.h"
#include "install/resources/ResourceIds.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "support/installer/InstallerUiTest.h"

namespace {

LONG_PTR KeepOpen(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class ResourceLayout : public qm::test::InstallerUiTest {};

// Lines a static of this width needs for its text, in pixels.
int TextHeight(HWND control, const std::string& text, int width) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r.bottom - r.top;
}

}  // namespace

TEST_F(ResourceLayout, EveryPictureATemplateNamesIsThere) {
  HINSTANCE program = GetModuleHandleA(nullptr);
  for (const auto& [id, dialogTemplate] : InstallerDialogTemplates()) {
    for (const DialogItemTemplate& item : dialogTemplate.items) {
      if (!item.imageId) continue;
      SCOPED_TRACE("template " + std::to_string(id) + ", picture " + std::to_string(item.imageId));
      DWORD kind = item.style & SS_TYPEMASK;
      if (kind == SS_BITMAP) {
        HBITMAP bitmap = LoadBitmapA(program, MAKEINTRESOURCEA(WORD(item.imageId)));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
        EXPECT_EQ(info.bmWidth, 119);
        EXPECT_EQ(info.bmHeight, 257);
        DeleteObject(bitmap);
      } else {
        EXPECT_EQ(kind, SS_ICON);
        EXPECT_NE(LoadIconA(program, MAKEINTRESOURCEA(WORD(item.imageId))), nullptr);
      }
    }
  }
}

TEST_F(ResourceLayout, NoStaticTextIsCutOff) {
  for (const auto& [id, dialogTemplate] : InstallerDialogTemplates()) {
    SCOPED_TRACE("template " + std::to_string(id));
    // Pages are children of a sheet; a popup stands in for it here.
    DialogTemplate shown = dialogTemplate;
    shown.style = (shown.style & ~(WS_CHILD | WS_DISABLED)) | WS_POPUP;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &shown, nullptr, KeepOpen, 0);
    ASSERT_NE(dialog, nullptr);
    for (const DialogItemTemplate& item : dialogTemplate.items) {
      bool isText = item.className == WC_STATICA && (item.style & SS_TYPEMASK) <= SS_RIGHT;
      if (!isText || item.text.empty() || item.id == IDC_STATIC) continue;
      HWND control = GetDlgItem(dialog, item.id);
      ASSERT_NE(control, nullptr);
    }
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
      char className[32] = {};
      GetClassNameA(control, className, sizeof className);
      if (std::string(className) != WC_STATICA) continue;
      DWORD kind = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & SS_TYPEMASK;
      if (kind > SS_RIGHT) continue;
      char text[1024] = {};
      GetWindowTextA(control, text, sizeof text);
      if (!text[0]) continue;
      RECT client{};
      GetClientRect(control, &client);
      SCOPED_TRACE(text);
      EXPECT_LE(TextHeight(control, text, client.right), client.bottom);
    }
    DestroyWindow(dialog);
  }
}
