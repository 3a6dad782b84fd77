// Dialog keyboard for a sheet: one Tab order over the current page's controls
// followed by the sheet's buttons, Enter for the wizard's default button, Esc
// for Cancel, access keys over both, arrows inside a radio group left to the
// dialog manager of the window holding the focus.
#include <cctype>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/propsheet/Sheet.h"

namespace qm::ui::propsheet {
namespace {

bool IsShownAndEnabled(HWND hwnd) {
  return hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(hwnd);
}

DWORD ButtonType(HWND hwnd) {
  char className[16] = {};
  GetClassNameA(hwnd, className, sizeof className);
  std::string name(className);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name != WC_BUTTONA) return ~0u;
  return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsPushButton(HWND hwnd) {
  const DWORD type = ButtonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsRadio(HWND hwnd) {
  const DWORD type = ButtonType(hwnd);
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

HWND CurrentPage(const Sheet& sheet) {
  return sheet.current >= 0 ? sheet.pages[sheet.current]->hwnd : nullptr;
}

// Children in their window order, descending into nested control dialogs.
void CollectControls(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsShownAndEnabled(child)) continue;
    if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      CollectControls(child, out);
      continue;
    }
    out.push_back(child);
  }
}

// What Tab visits: the page first, then the sheet's own buttons.
std::vector<HWND> TabOrder(const Sheet& sheet) {
  std::vector<HWND> all;
  if (HWND page = CurrentPage(sheet)) CollectControls(page, all);
  for (HWND child = GetWindow(sheet.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) continue;  // the pages
    if (IsShownAndEnabled(child)) all.push_back(child);
  }
  std::vector<HWND> stops;
  for (HWND control : all)
    if (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) stops.push_back(control);
  return stops;
}

HWND CheckedInGroup(HWND dialog, HWND radio) {
  HWND item = radio;
  for (int guard = 0; guard < 64 && item; ++guard) {
    if (IsRadio(item) && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED && IsShownAndEnabled(item)) return item;
    item = GetNextDlgGroupItem(dialog, item, FALSE);
    if (item == radio) break;
  }
  return radio;
}

void FocusControl(HWND control) {
  if (IsRadio(control)) control = CheckedInGroup(GetParent(control), control);
  SetFocus(control);
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

void MoveTab(Sheet& sheet, bool backwards) {
  const std::vector<HWND> stops = TabOrder(sheet);
  if (stops.empty()) return;
  HWND focus = GetFocus();
  int at = -1;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == focus) at = static_cast<int>(i);
  }
  // A focused radio button without the tab stop stands for its group's stop.
  if (at < 0 && focus && IsRadio(focus)) {
    HWND dialog = GetParent(focus);
    for (HWND item = GetNextDlgGroupItem(dialog, focus, TRUE); item && item != focus;
         item = GetNextDlgGroupItem(dialog, item, TRUE)) {
      for (std::size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == item) at = static_cast<int>(i);
      if (at >= 0) break;
    }
  }
  const int count = static_cast<int>(stops.size());
  int next;
  if (at < 0) {
    next = backwards ? count - 1 : 0;
  } else {
    next = (at + (backwards ? count - 1 : 1)) % count;
  }
  FocusControl(stops[next]);
}

char AccessKey(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
  }
  return 0;
}

bool ActivateAccessKey(Sheet& sheet, char key) {
  key = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  std::vector<HWND> controls;
  if (HWND page = CurrentPage(sheet)) CollectControls(page, controls);
  for (HWND child = GetWindow(sheet.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsShownAndEnabled(child))
      controls.push_back(child);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    HWND control = controls[i];
    if (AccessKey(control) != key) continue;
    if (ButtonType(control) == ~0u || ButtonType(control) == BS_GROUPBOX) {
      // A label: the control after it takes the focus.
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        if (GetWindowLongA(controls[j], GWL_STYLE) & WS_TABSTOP) {
          FocusControl(controls[j]);
          return true;
        }
      }
      continue;
    }
    if (!IsPushButton(control)) SetFocus(control);
    SendMessageA(control, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

int DefaultButton(const Sheet& sheet) {
  return sheet.finishTextSet || (sheet.wizardButtons & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) ? ID_WIZFINISH
                                                                                                : ID_WIZNEXT;
}

}  // namespace

bool HandleSheetKeyboard(Sheet& sheet, MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  if (!msg.hwnd || (msg.hwnd != sheet.hwnd && !IsChild(sheet.hwnd, msg.hwnd))) return false;
  const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  switch (msg.message) {
    case WM_KEYDOWN:
      switch (msg.wParam) {
        case VK_TAB:
          if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
          MoveTab(sheet, GetKeyState(VK_SHIFT) < 0);
          return true;
        case VK_RETURN:
          if (code & DLGC_WANTALLKEYS) return false;
          if (IsPushButton(msg.hwnd) && IsChild(sheet.hwnd, msg.hwnd)) {
            SendMessageA(msg.hwnd, BM_CLICK, 0, 0);
          } else {
            PressSheetButton(sheet, DefaultButton(sheet));
          }
          return true;
        case VK_ESCAPE:
          if (code & DLGC_WANTALLKEYS) return false;
          PressSheetButton(sheet, IDCANCEL);
          return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) return false;
          return IsDialogMessageA(GetParent(msg.hwnd), &msg) != FALSE;
        default:
          return false;
      }
    case WM_CHAR:
      // A plain letter is an access key unless the focused control types it.
      if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return false;
      if (msg.wParam == '\t' || msg.wParam == '\r' || msg.wParam == 0x1B) return true;
      if (msg.wParam > 0x20 && msg.wParam < 0x7F) return ActivateAccessKey(sheet, static_cast<char>(msg.wParam));
      return false;
    case WM_SYSCHAR:
      if (msg.wParam > 0x20 && msg.wParam < 0x7F) return ActivateAccessKey(sheet, static_cast<char>(msg.wParam));
      return false;
    default:
      return false;
  }
}

}  // namespace qm::ui::propsheet
