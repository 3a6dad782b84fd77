// Building a dialog from its template: the font, dialog units converted to
// pixels, the frame around the client area, the position, the controls,
// and WM_INITDIALOG.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Resources.h"
#include "platform/ui/dialogs/DialogHooks.h"
#include "platform/ui/dialogs/DialogState.h"

namespace qm::ui::dialogs {

namespace {

HFONT CreateDialogFont(const DialogTemplate& dialogTemplate, bool& owned) {
  owned = false;
  if (dialogTemplate.fontFace.empty() || dialogTemplate.pointSize == 0)
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  const int weight = dialogTemplate.fontWeight ? dialogTemplate.fontWeight : FW_NORMAL;
  HFONT font = CreateFontA(-MulDivRounded(dialogTemplate.pointSize, 96, 72), 0, 0, 0, weight,
                           dialogTemplate.fontItalic ? TRUE : FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, dialogTemplate.fontFace.c_str());
  if (!font) return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  owned = true;
  return font;
}

bool IsClass(const std::string& name, const char* className) { return strcasecmp(name.c_str(), className) == 0; }

void LoadPicture(HINSTANCE instance, HWND control, const DialogItemTemplate& item) {
  if (!IsClass(item.className, WC_STATICA) || item.imageId == 0) return;
  DWORD type = item.style & SS_TYPEMASK;
  LPCSTR name = MAKEINTRESOURCEA(static_cast<WORD>(item.imageId));
  if (type == SS_ICON) {
    if (HICON icon = LoadIconA(instance, name)) SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  } else if (type == SS_BITMAP) {
    if (HBITMAP bitmap = LoadBitmapA(instance, name))
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  }
}

void CreateControls(HINSTANCE instance, HWND dialog, const DialogTemplate& dialogTemplate, DialogState& state) {
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    int x = MulDivRounded(item.x, state.units.x, 4);
    int y = MulDivRounded(item.y, state.units.y, 8);
    int width = MulDivRounded(item.cx, state.units.x, 4);
    int height = MulDivRounded(item.cy, state.units.y, 8);
    DWORD style = (item.style | WS_CHILD) & ~WS_POPUP;
    DWORD exStyle = item.exStyle;
    // Dialogs have the 3-D look: bordered edits, list boxes and trees get the
    // sunken client edge, sunken statics the static edge.
    if ((IsClass(item.className, WC_EDITA) || IsClass(item.className, WC_LISTBOXA) ||
         IsClass(item.className, WC_TREEVIEWA)) && (style & WS_BORDER)) {
      style &= ~WS_BORDER;
      exStyle |= WS_EX_CLIENTEDGE;
    }
    if (IsClass(item.className, WC_STATICA) && (style & SS_SUNKEN)) exStyle |= WS_EX_STATICEDGE;
    HWND control = CreateWindowExA(exStyle, item.className.c_str(), item.text.c_str(), style, x, y, width, height, dialog,
                                   reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)), instance, nullptr);
    if (!control) continue;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    LoadPicture(instance, control, item);
    if (state.defaultId == 0 && IsClass(item.className, WC_BUTTONA) &&
        (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      state.defaultId = item.id;
  }
}

RECT ScreenArea() {
  RECT area = Display().WorkArea();
  if (area.right <= area.left || area.bottom <= area.top)
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

// Sizes the window so that its client area has the template's size, and
// places it: centred for DS_CENTER; else the template's position, relative
// to the owner's client area for a pop-up with an owner.
void Place(HWND dialog, const DialogTemplate& dialogTemplate, const DialogState& state, HWND owner) {
  int clientWidth = MulDivRounded(dialogTemplate.cx, state.units.x, 4);
  int clientHeight = MulDivRounded(dialogTemplate.cy, state.units.y, 8);
  SIZE frame = FrameSize(dialog);
  int width = clientWidth + frame.cx;
  int height = clientHeight + frame.cy;
  int x = MulDivRounded(dialogTemplate.x, state.units.x, 4);
  int y = MulDivRounded(dialogTemplate.y, state.units.y, 8);
  bool child = (dialogTemplate.style & WS_CHILD) != 0;
  if (!child) {
    RECT area = ScreenArea();
    if (dialogTemplate.style & DS_CENTER) {
      x = area.left + (area.right - area.left - width) / 2;
      y = area.top + (area.bottom - area.top - height) / 2;
    } else if (owner && !(dialogTemplate.style & DS_ABSALIGN)) {
      POINT origin{0, 0};
      ClientToScreen(owner, &origin);
      x += origin.x;
      y += origin.y;
    }
    // A dialog is never left partly off the screen.
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
  }
  SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam, bool modal) {
  DWORD style = dialogTemplate.style;
  DWORD exStyle = dialogTemplate.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTEXTHELP) exStyle |= WS_EX_CONTEXTHELP;
  if (style & DS_CONTROL) {
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  bool visible = (style & WS_VISIBLE) != 0;
  style &= ~WS_VISIBLE;
  HWND owner = parent;
  if (parent && !(style & WS_CHILD)) owner = GetAncestorRoot(parent);

  bool ownsFont = false;
  HFONT font = CreateDialogFont(dialogTemplate, ownsFont);
  BaseUnits units = MeasureBaseUnits(font);
  HWND dialog = CreateWindowExA(exStyle, kDialogClassName, dialogTemplate.caption.c_str(), style, 0, 0,
                                MulDivRounded(dialogTemplate.cx, units.x, 4),
                                MulDivRounded(dialogTemplate.cy, units.y, 8), owner, nullptr, instance, nullptr);
  DialogState* state = StateOf(dialog);
  if (!state) {
    if (dialog) DestroyWindow(dialog);
    if (ownsFont) DeleteObject(font);
    return nullptr;
  }
  state->font = font;
  state->ownsFont = ownsFont;
  state->units = units;
  state->modal = modal;
  Place(dialog, dialogTemplate, *state, style & WS_CHILD ? nullptr : owner);

  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dialogProc));
  // The dialog procedure sees the font too; the dialog keeps it whether or
  // not the procedure handles the message.
  if (!dialogTemplate.fontFace.empty()) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!(state = StateOf(dialog))) return nullptr;
  state->font = font;
  CreateControls(instance, dialog, dialogTemplate, *state);

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dialog)) return nullptr;
  state = StateOf(dialog);
  if (setFocus) {
    // The dialog procedure may have changed the tab stops.
    state->savedFocus = GetNextDlgTabItem(dialog, nullptr, FALSE);
    state->initialFocusPending = state->savedFocus != nullptr;
  } else if (HWND focus = GetFocus(); focus && IsChild(dialog, focus)) {
    state->savedFocus = focus;
  }
  if (visible && !modal && !state->ended) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
  }
  // A top-level dialog takes its focus when it is activated; a child
  // dialog in an active window takes it now.
  if (IsWindow(dialog) && (style & WS_CHILD) && IsWindowVisible(dialog) &&
      GetActiveWindow() == GetAncestorRoot(dialog))
    RestoreFocus(dialog);
  return dialog;
}

}  // namespace qm::ui::dialogs

HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate* dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
  if (!dialogTemplate) return nullptr;
  return qm::ui::dialogs::CreateFromTemplate(instance, *dialogTemplate, parent, dialogProc, initParam, false);
}
