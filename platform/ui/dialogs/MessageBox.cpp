// Message boxes: a modal dialog sized to its text, with an icon and one of
// the standard button sets, centred on the screen.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Resources.h"
#include "platform/ui/dialogs/DialogState.h"
#include "platform/ui/user/CloseBox.h"

using namespace qm::ui::dialogs;

namespace {

constexpr UINT kButtonSetMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;
constexpr UINT kDefaultButtonMask = 0x00000F00;
constexpr int kTextId = 0xFFFF;
constexpr int kMargin = 12;

struct ButtonDefinition {
  int id;
  const char* label;
};

struct MessageBoxRequest {
  std::string text;
  UINT type = 0;
  std::vector<ButtonDefinition> buttons;
};

std::vector<ButtonDefinition> ButtonsFor(UINT type) {
  switch (type & kButtonSetMask) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

LPCSTR IconFor(UINT type) {
  switch (type & kIconMask) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

bool HasButton(const MessageBoxRequest& request, int id) {
  return std::any_of(request.buttons.begin(), request.buttons.end(),
                     [id](const ButtonDefinition& b) { return b.id == id; });
}

// What Esc and the close box mean: Cancel where the set has it, OK for a
// lone OK button, nothing where a real answer is needed.
int CancelResult(const MessageBoxRequest& request) {
  if (HasButton(request, IDCANCEL)) return IDCANCEL;
  if ((request.type & kButtonSetMask) == MB_OK) return IDOK;
  return 0;
}

SIZE TextSize(HDC dc, const std::string& text, int maxWidth, UINT format) {
  RECT rect{0, 0, maxWidth, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, int id, RECT r) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, dialog, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                                 nullptr, nullptr);
  if (control) SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

void Layout(HWND dialog, const MessageBoxRequest& request) {
  DialogState* state = StateOf(dialog);
  HDC dc = GetDC(dialog);
  HGDIOBJ oldFont = SelectObject(dc, state->font);
  // A path longer than the box is wide is broken inside: the box stays on
  // the screen, its buttons with it.
  const UINT textFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX;
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  LPCSTR iconName = IconFor(request.type);
  HICON icon = iconName ? LoadIconA(nullptr, iconName) : nullptr;
  int iconSize = icon ? GetSystemMetrics(SM_CXICON) : 0;
  int textLeft = icon ? kMargin + iconSize + kMargin : kMargin + 6;
  int maxTextWidth = std::max(200, screenWidth * 5 / 8 - textLeft - kMargin);
  SIZE text = TextSize(dc, request.text, maxTextWidth, textFormat);

  int buttonWidth = MulDivRounded(50, state->units.x, 4);
  int buttonHeight = MulDivRounded(14, state->units.y, 8);
  int buttonGap = MulDivRounded(4, state->units.x, 4);
  for (const ButtonDefinition& button : request.buttons)
    buttonWidth = std::max(buttonWidth, static_cast<int>(TextSize(dc, button.label, screenWidth, DT_SINGLELINE).cx) + 16);
  auto buttonCount = static_cast<int>(request.buttons.size());
  int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * buttonGap;

  char caption[256] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  int captionWidth = static_cast<int>(TextSize(dc, caption, screenWidth, DT_SINGLELINE).cx) + 48;
  SelectObject(dc, oldFont);
  ReleaseDC(dialog, dc);

  int contentHeight = std::max(static_cast<int>(text.cy), iconSize);
  int textTop = kMargin + (contentHeight - text.cy) / 2;
  int clientWidth = std::max({textLeft + static_cast<int>(text.cx) + kMargin, buttonsWidth + 2 * kMargin, captionWidth});
  int buttonsTop = kMargin + contentHeight + kMargin + 2;
  int clientHeight = buttonsTop + buttonHeight + kMargin;

  if (icon) {
    HWND picture = AddControl(dialog, WC_STATICA, "", SS_ICON, IDC_STATIC,
                              RECT{kMargin, kMargin, kMargin + iconSize, kMargin + iconSize});
    SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  AddControl(dialog, WC_STATICA, request.text.c_str(), SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kTextId,
             RECT{textLeft, textTop, textLeft + text.cx + 1, textTop + text.cy});

  size_t defaultIndex = (request.type & kDefaultButtonMask) >> 8;
  if (defaultIndex >= request.buttons.size()) defaultIndex = 0;
  int x = (clientWidth - buttonsWidth) / 2;
  HWND defaultButton = nullptr;
  for (size_t i = 0; i < request.buttons.size(); ++i) {
    DWORD style = WS_TABSTOP | (i == 0 ? WS_GROUP : 0) | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = AddControl(dialog, WC_BUTTONA, request.buttons[i].label, style, request.buttons[i].id,
                             RECT{x, buttonsTop, x + buttonWidth, buttonsTop + buttonHeight});
    if (i == defaultIndex) defaultButton = button;
    x += buttonWidth + buttonGap;
  }
  SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(request.buttons[defaultIndex].id), 0);

  SIZE frame = FrameSize(dialog);
  int width = clientWidth + frame.cx;
  int height = clientHeight + frame.cy;
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(dialog, nullptr, std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 2), width,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The default button takes the focus when the box is activated.
  state->savedFocus = defaultButton;
}

LONG_PTR MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Layout(dialog, *reinterpret_cast<MessageBoxRequest*>(lParam));
      // Without a Cancel choice the box cannot be dismissed unanswered.
      if (CancelResult(*reinterpret_cast<MessageBoxRequest*>(lParam)) == 0) qm::ui::user::DisableCloseBox(dialog, true);
      return FALSE;
    }
    case WM_COMMAND: {
      const auto* request = reinterpret_cast<const MessageBoxRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (!request || HIWORD(wParam) != BN_CLICKED) return FALSE;
      int id = LOWORD(wParam);
      if (id == IDCANCEL) id = CancelResult(*request);
      if (id != 0 && HasButton(*request, id)) EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxRequest request;
  request.text = text ? text : "";
  request.type = type;
  request.buttons = ButtonsFor(type);

  DialogTemplate box;
  box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  if (type & (MB_TOPMOST | MB_SYSTEMMODAL)) box.exStyle |= WS_EX_TOPMOST;
  box.caption = caption ? caption : "Error";
  box.fontFace = "MS Sans Serif";
  box.pointSize = 8;
  if (IconFor(type)) MessageBeep(type & kIconMask);
  INT_PTR result = DialogBoxIndirectParamA(nullptr, &box, owner, MessageBoxProc, reinterpret_cast<LPARAM>(&request));
  return static_cast<int>(result);
}
