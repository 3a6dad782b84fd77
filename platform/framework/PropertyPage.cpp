#include "platform/framework/PropertyPage.h"

#include "platform/framework/PropertySheet.h"

namespace qm::fw {

// The sheet creates a page's window with this procedure; WM_INITDIALOG
// carries the page's PROPSHEETPAGEA, whose lParam is the page object.
LONG_PTR FrameworkPageProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG || !lParam) return FALSE;
  auto* header = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
  auto* page = reinterpret_cast<PropertyPage*>(header->lParam);
  if (!page) return FALSE;
  if (!page->Handle()) page->SubclassWindow(hwnd);
  page->firstSetActive = true;
  // The sheet's window is bound before its first page initialises, so that
  // the page can already work the sheet's buttons.
  if (page->sheet && !page->sheet->Handle()) page->sheet->BindSheetWindow(::GetParent(hwnd));
  return page->OnInitDialog() ? TRUE : FALSE;
}

PropertyPage::PropertyPage(UINT templateId) : Dialog(templateId) {
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_DLGINDIRECT | PSP_HASHELP;
  psp.pfnDlgProc = &FrameworkPageProc;
  psp.lParam = reinterpret_cast<LPARAM>(this);
}

void PropertyPage::CancelToClose() {
  if (sheet) sheet->CancelToClose();
}

bool PropertyPage::OnSetActive() {
  if (firstSetActive) {
    firstSetActive = false;
  } else {
    UpdateData(false);
  }
  return true;
}

bool PropertyPage::OnKillActive() { return UpdateData(true); }
LRESULT PropertyPage::OnWizardNext() { return 0; }
LRESULT PropertyPage::OnWizardBack() { return 0; }
bool PropertyPage::OnWizardFinish() { return true; }
bool PropertyPage::OnQueryCancel() { return true; }
void PropertyPage::OnReset() { OnCancel(); }
void PropertyPage::OnCancel() {}
void PropertyPage::OnOK() {}
void PropertyPage::OnHelp() {}

bool PropertyPage::PreTranslateMessage(MSG*) { return false; }

bool PropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header || header->code > PSN_FIRST || header->code < PSN_QUERYCANCEL)
    return Dialog::OnNotify(wParam, lParam, result);
  LRESULT answer = 0;
  switch (header->code) {
    case PSN_SETACTIVE:
      answer = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      answer = OnKillActive() ? FALSE : TRUE;
      break;
    case PSN_WIZNEXT:
      answer = OnWizardNext();
      break;
    case PSN_WIZBACK:
      answer = OnWizardBack();
      break;
    case PSN_WIZFINISH:
      answer = OnWizardFinish() ? FALSE : TRUE;
      break;
    case PSN_QUERYCANCEL:
      answer = OnQueryCancel() ? FALSE : TRUE;
      break;
    case PSN_RESET:
      OnReset();
      answer = sheet && sheet->StaysOpenOnCancel() ? TRUE : FALSE;
      break;
    case PSN_HELP:
      OnHelp();
      break;
    default:
      return Dialog::OnNotify(wParam, lParam, result);
  }
  // The page may have been destroyed by its own handler.
  if (Handle()) SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, answer);
  *result = answer;
  return true;
}

bool PropertyPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if ((id == IDOK || id == IDCANCEL) && HIWORD(wParam) <= 1 && lParam == 0) {
    // Enter and Esc inside a page mean the sheet's default button and Cancel.
    if (HWND sheetWindow = ::GetParent(Handle())) ::SendMessageA(sheetWindow, WM_COMMAND, wParam, 0);
    return true;
  }
  return Dialog::OnCommand(wParam, lParam);
}

}  // namespace qm::fw
