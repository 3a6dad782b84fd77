// PropertySheetA in wizard mode: the sheet window, lazy page creation, the
// page notifications, the wizard buttons and the modal loop.
//
// Ending a sheet: Finish (PSN_WIZFINISH answered FALSE) and Cancel
// (PSN_QUERYCANCEL answered FALSE, then PSN_RESET to every page created so
// far) end a modal sheet with 1 or 0 and destroy a modeless one. A page that
// answers PSN_RESET with a non-zero result keeps the sheet open on its
// current page instead: that is how a page asks the user whether to leave and
// resumes the wizard when the answer is no.
#include <map>

#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/propsheet/Sheet.h"
#include "platform/ui/user/ModalLoop.h"

namespace qm::ui::propsheet {
namespace {

std::map<HWND, std::shared_ptr<Sheet>>& Sheets() {
  static std::map<HWND, std::shared_ptr<Sheet>> sheets;
  return sheets;
}

// Set between PropertySheetA and the sheet's WM_INITDIALOG.
std::shared_ptr<Sheet>& SheetBeingCreated() {
  static std::shared_ptr<Sheet> sheet;
  return sheet;
}

LRESULT SheetWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

HWND Button(const Sheet& sheet, int id) { return GetDlgItem(sheet.hwnd, id); }

// Shown and enabled by its own state; the sheet itself may not be visible yet
// while its first page is set up.
bool IsUsable(HWND control) {
  return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(control);
}

LRESULT Notify(Sheet& sheet, int index, UINT code, LPARAM lParam = 0) {
  HWND page = sheet.pages[index]->hwnd;
  if (!page || !IsWindow(page)) return 0;
  SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
  PSHNOTIFY notify{};
  notify.hdr.hwndFrom = sheet.hwnd;
  notify.hdr.idFrom = 0;
  notify.hdr.code = code;
  notify.lParam = lParam;
  SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
  if (!IsWindow(page)) return 0;
  return GetWindowLongPtrA(page, DWLP_MSGRESULT);
}

int PageByTemplateId(const Sheet& sheet, LRESULT id) {
  if (id <= 0 || id > 0xFFFF) return -1;
  const DialogTemplate* found = FindDialogResource(static_cast<UINT>(id));
  if (!found) return -1;
  for (std::size_t i = 0; i < sheet.pages.size(); ++i)
    if (sheet.pages[i]->psp.pResource == found) return static_cast<int>(i);
  return -1;
}

bool EnsurePage(Sheet& sheet, int index) {
  SheetPage& page = *sheet.pages[index];
  if (page.hwnd) return true;
  if (!page.psp.pResource) return false;
  page.childTemplate = BuildChildTemplate(*page.psp.pResource);
  HWND hwnd = CreateDialogIndirectParamA(page.psp.hInstance, &page.childTemplate, sheet.hwnd, page.psp.pfnDlgProc,
                                         reinterpret_cast<LPARAM>(&page.psp));
  if (!hwnd) return false;
  page.hwnd = hwnd;
  SetWindowPos(hwnd, nullptr, sheet.pageArea.left, sheet.pageArea.top, sheet.pageArea.right - sheet.pageArea.left,
               sheet.pageArea.bottom - sheet.pageArea.top, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SetDefaultButton(Sheet& sheet, int id) {
  for (int candidate : {ID_WIZNEXT, ID_WIZFINISH}) {
    if (HWND button = Button(sheet, candidate))
      SendMessageA(button, BM_SETSTYLE, candidate == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
  SendMessageA(sheet.hwnd, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

// A sheet button, or a control of the current page; not one left behind on
// a page that was hidden.
bool CanKeepFocus(const Sheet& sheet, HWND focus) {
  if (!IsUsable(focus)) return false;
  if (GetParent(focus) == sheet.hwnd) return true;
  HWND page = sheet.current >= 0 ? sheet.pages[sheet.current]->hwnd : nullptr;
  return page && IsChild(page, focus);
}

// Focus must never stay on a button that was just hidden or disabled.
void RescueFocus(Sheet& sheet) {
  HWND focus = GetFocus();
  if (focus && IsChild(sheet.hwnd, focus) && CanKeepFocus(sheet, focus)) return;
  if (focus && !IsChild(sheet.hwnd, focus) && focus != sheet.hwnd) return;
  for (int id : {ID_WIZNEXT, ID_WIZFINISH, ID_WIZBACK, IDCANCEL}) {
    HWND button = Button(sheet, id);
    if (IsUsable(button)) {
      SetFocus(button);
      return;
    }
  }
}

void ApplyWizardButtons(Sheet& sheet) {
  const DWORD flags = sheet.wizardButtons;
  HWND back = Button(sheet, ID_WIZBACK);
  HWND next = Button(sheet, ID_WIZNEXT);
  HWND finish = Button(sheet, ID_WIZFINISH);
  const bool finishWanted = sheet.finishTextSet || (flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH));
  EnableWindow(back, (flags & PSWIZB_BACK) ? TRUE : FALSE);
  if (sheet.finishTextSet) {
    ShowWindow(back, SW_HIDE);
    ShowWindow(next, SW_HIDE);
  } else {
    ShowWindow(back, SW_SHOW);
    ShowWindow(next, finishWanted ? SW_HIDE : SW_SHOW);
  }
  EnableWindow(next, (flags & PSWIZB_NEXT) ? TRUE : FALSE);
  EnableWindow(finish, (flags & PSWIZB_DISABLEDFINISH) ? FALSE : TRUE);
  ShowWindow(finish, finishWanted ? SW_SHOW : SW_HIDE);
  SetDefaultButton(sheet, finishWanted ? ID_WIZFINISH : ID_WIZNEXT);
  RescueFocus(sheet);
}

// A sheet button that has the focus keeps it when the page changes under it.
void FocusPage(Sheet& sheet, HWND page, bool sheetButtonKeepsFocus = true) {
  HWND focus = GetFocus();
  if (sheetButtonKeepsFocus && focus && GetParent(focus) == sheet.hwnd && IsUsable(focus)) return;
  HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
  if (first && IsChild(page, first) && IsUsable(first)) {
    SetFocus(first);
    return;
  }
  RescueFocus(sheet);
}

// Makes index current, sending PSN_KILLACTIVE to the page being left and
// PSN_SETACTIVE to the page coming; a page refusing activation passes the
// turn to its neighbour in the direction of travel.
bool SelectPage(Sheet& sheet, int index, int direction) {
  const int count = static_cast<int>(sheet.pages.size());
  if (sheet.current >= 0 && index != sheet.current) {
    if (Notify(sheet, sheet.current, PSN_KILLACTIVE) != 0 || sheet.destroyed) return false;
  }
  int target = index;
  for (int tries = 0;; ++tries) {
    if (target < 0 || target >= count || tries >= count) return false;
    if (!EnsurePage(sheet, target) || sheet.destroyed) return false;
    const LRESULT answer = Notify(sheet, target, PSN_SETACTIVE);
    if (sheet.destroyed) return false;
    if (answer == 0) break;
    target = answer == -1 ? target + (direction >= 0 ? 1 : -1) : PageByTemplateId(sheet, answer);
  }
  const int previous = sheet.current;
  sheet.current = target;
  HWND page = sheet.pages[target]->hwnd;
  SetWindowPos(page, HWND_TOP, sheet.pageArea.left, sheet.pageArea.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(page, SW_SHOW);
  if (previous >= 0 && previous != target) ShowWindow(sheet.pages[previous]->hwnd, SW_HIDE);
  FocusPage(sheet, page);
  return true;
}

void EndSheet(Sheet& sheet, INT_PTR result) {
  sheet.ended = true;
  sheet.result = result;
  if (sheet.modeless) DestroyWindow(sheet.hwnd);
}

void Navigate(Sheet& sheet, UINT code, int step) {
  if (sheet.current < 0) return;
  const LRESULT answer = Notify(sheet, sheet.current, code);
  if (sheet.destroyed) return;
  const int target = answer == 0 ? sheet.current + step : answer == -1 ? -1 : PageByTemplateId(sheet, answer);
  const bool moved = target >= 0 && target < static_cast<int>(sheet.pages.size()) && SelectPage(sheet, target, step);
  // Pages hide themselves before the move; one that stays must be seen.
  if (!moved && !sheet.destroyed && sheet.current >= 0) ShowWindow(sheet.pages[sheet.current]->hwnd, SW_SHOW);
}

void Finish(Sheet& sheet) {
  if (sheet.current < 0) return;
  const LRESULT answer = Notify(sheet, sheet.current, PSN_WIZFINISH);
  if (sheet.destroyed || answer != 0) return;
  EndSheet(sheet, 1);
}

void Cancel(Sheet& sheet, bool fromCloseBox) {
  if (sheet.cancelLocked || !IsWindowEnabled(Button(sheet, IDCANCEL))) return;
  if (sheet.current >= 0) {
    const LRESULT refused = Notify(sheet, sheet.current, PSN_QUERYCANCEL);
    if (sheet.destroyed || refused != 0) return;
  }
  bool keepOpen = false;
  for (std::size_t i = 0; i < sheet.pages.size(); ++i) {
    if (!sheet.pages[i]->hwnd) continue;
    if (Notify(sheet, static_cast<int>(i), PSN_RESET, fromCloseBox ? TRUE : FALSE) != 0) keepOpen = true;
    if (sheet.destroyed) return;
  }
  if (!keepOpen) EndSheet(sheet, 0);
}

LRESULT HandleSheetMessage(Sheet& sheet, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case PSM_SETWIZBUTTONS:
      sheet.wizardButtons = static_cast<DWORD>(lParam);
      ApplyWizardButtons(sheet);
      return 0;
    case PSM_SETFINISHTEXTA:
      if (lParam) SetWindowTextA(Button(sheet, ID_WIZFINISH), reinterpret_cast<LPCSTR>(lParam));
      sheet.finishTextSet = true;
      sheet.wizardButtons = (sheet.wizardButtons & ~PSWIZB_DISABLEDFINISH) | PSWIZB_FINISH;
      ApplyWizardButtons(sheet);
      return 0;
    case PSM_CANCELTOCLOSE:
      sheet.cancelLocked = true;
      EnableWindow(Button(sheet, IDCANCEL), FALSE);
      RescueFocus(sheet);
      return 0;
    case PSM_PRESSBUTTON: {
      static constexpr struct { int button; int id; } kButtons[] = {
          {PSBTN_BACK, ID_WIZBACK}, {PSBTN_NEXT, ID_WIZNEXT}, {PSBTN_FINISH, ID_WIZFINISH},
          {PSBTN_OK, ID_WIZFINISH}, {PSBTN_CANCEL, IDCANCEL},   {PSBTN_HELP, IDHELP}};
      for (const auto& entry : kButtons) {
        if (entry.button == static_cast<int>(wParam)) {
          PressSheetButton(sheet, entry.id);
          return TRUE;
        }
      }
      return FALSE;
    }
    case PSM_GETCURRENTPAGEHWND:
      if (sheet.ended || sheet.current < 0) return 0;
      return reinterpret_cast<LRESULT>(sheet.pages[sheet.current]->hwnd);
    case PSM_ISDIALOGMESSAGE:
      // The dialog manager treats the pages' controls as the sheet's own:
      // one Tab order, Enter for the default button, Esc for Cancel.
      if (!lParam) return FALSE;
      return IsDialogMessageA(sheet.hwnd, reinterpret_cast<MSG*>(lParam));
    case PSM_SETCURSEL: {
      int index = static_cast<int>(wParam);
      if (lParam) {
        index = -1;
        for (std::size_t i = 0; i < sheet.pages.size(); ++i)
          if (reinterpret_cast<LPARAM>(&sheet.pages[i]->psp) == lParam) index = static_cast<int>(i);
      }
      if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return FALSE;
      return SelectPage(sheet, index, index >= sheet.current ? 1 : -1) ? TRUE : FALSE;
    }
    case PSM_INDEXTOPAGE:
      if (wParam >= sheet.pages.size()) return 0;
      return reinterpret_cast<LRESULT>(&sheet.pages[wParam]->psp);
    case PSM_SETTITLEA:
      if (!IS_INTRESOURCE(reinterpret_cast<LPCSTR>(lParam))) SetWindowTextA(sheet.hwnd, reinterpret_cast<LPCSTR>(lParam));
      return 0;
    case PSM_CHANGED:
    case PSM_GETTABCONTROL:
    case PSM_ADDPAGE:
    case PSM_REMOVEPAGE:
      return 0;
    case WM_COMMAND:
      if (lParam == 0 || GetParent(reinterpret_cast<HWND>(lParam)) == sheet.hwnd) {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
          // Enter without a focused button: the wizard's default button.
          PressSheetButton(sheet, sheet.finishTextSet || (sheet.wizardButtons & PSWIZB_FINISH) ? ID_WIZFINISH
                                                                                                : ID_WIZNEXT);
          return 0;
        }
        if (id == ID_WIZBACK || id == ID_WIZNEXT || id == ID_WIZFINISH || id == IDCANCEL || id == IDHELP) {
          if (HIWORD(wParam) == BN_CLICKED || lParam == 0) PressSheetButton(sheet, id);
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      Cancel(sheet, true);
      return 0;
    default:
      break;
  }
  handled = false;
  return 0;
}

LRESULT SheetWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Sheet> sheet = FindSheet(hwnd);
  if (!sheet) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    sheet->destroyed = true;
    sheet->ended = true;
    const LRESULT result = CallWindowProcA(sheet->dialogProc, hwnd, message, wParam, lParam);
    Sheets().erase(hwnd);
    return result;
  }
  bool handled = false;
  const LRESULT result = HandleSheetMessage(*sheet, message, wParam, lParam, handled);
  if (handled) return result;
  return CallWindowProcA(sheet->dialogProc, hwnd, message, wParam, lParam);
}

LONG_PTR SheetDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  std::shared_ptr<Sheet> sheet = std::move(SheetBeingCreated());
  if (!sheet) return FALSE;
  sheet->hwnd = hwnd;
  Sheets()[hwnd] = sheet;
  sheet->dialogProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetWindowProc)));

  RECT area = PageAreaInDialogUnits(sheet->sheetTemplate);
  MapDialogRect(hwnd, &area);
  sheet->pageArea = area;
  ApplyWizardButtons(*sheet);
  int start = static_cast<int>(sheet->startPage);
  if (start >= static_cast<int>(sheet->pages.size())) start = 0;
  if (!sheet->pages.empty()) SelectPage(*sheet, start, 1);
  return FALSE;  // the first page has placed the focus
}

}  // namespace

std::shared_ptr<Sheet> FindSheet(HWND hwnd) {
  auto found = Sheets().find(hwnd);
  return found == Sheets().end() ? nullptr : found->second;
}

void PressSheetButton(Sheet& sheet, int id) {
  HWND button = Button(sheet, id);
  if (!IsUsable(button)) return;
  std::shared_ptr<Sheet> keepAlive = FindSheet(sheet.hwnd);
  switch (id) {
    case ID_WIZBACK:
      Navigate(sheet, PSN_WIZBACK, -1);
      break;
    case ID_WIZNEXT:
      Navigate(sheet, PSN_WIZNEXT, 1);
      break;
    case ID_WIZFINISH:
      Finish(sheet);
      break;
    case IDCANCEL:
      Cancel(sheet, false);
      break;
    case IDHELP:
      if (sheet.current >= 0) Notify(sheet, sheet.current, PSN_HELP);
      break;
    default:
      break;
  }
}

}  // namespace qm::ui::propsheet

using namespace qm::ui::propsheet;

INT_PTR PropertySheetA(const PROPSHEETHEADERA* header) {
  if (!header || !(header->dwFlags & PSH_WIZARD)) return -1;
  if (header->nPages > 0 && !header->ppsp) return -1;
  auto sheet = std::make_shared<Sheet>();
  sheet->modeless = (header->dwFlags & PSH_MODELESS) != 0;
  sheet->startPage = header->nStartPage;
  for (UINT i = 0; i < header->nPages; ++i) {
    auto page = std::make_unique<SheetPage>();
    page->psp = header->ppsp[i];
    sheet->pages.push_back(std::move(page));
  }
  sheet->sheetTemplate = BuildSheetTemplate(*header);

  SheetBeingCreated() = sheet;
  HWND hwnd = CreateDialogIndirectParamA(header->hInstance, &sheet->sheetTemplate, header->hwndParent,
                                         &SheetDialogProc, 0);
  SheetBeingCreated().reset();
  if (!hwnd) return -1;
  if (!sheet->destroyed && sheet->current >= 0) FocusPage(*sheet, sheet->pages[sheet->current]->hwnd, false);
  if (sheet->modeless) return reinterpret_cast<INT_PTR>(hwnd);

  // A modal sheet runs the modal loop, with the owner disabled, until Finish
  // or Cancel ends it; a quit message ends it too and is passed on.
  qm::ui::user::RunModalLoop(
      header->hwndParent, hwnd, [&sheet] { return !sheet->ended; },
      [hwnd](MSG& msg) {
        return SendMessageA(hwnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg))
                   ? qm::ui::user::ModalFilterResult::Handled
                   : qm::ui::user::ModalFilterResult::Dispatch;
      });
  const INT_PTR result = sheet->result;
  if (!sheet->destroyed) DestroyWindow(hwnd);
  return result;
}
