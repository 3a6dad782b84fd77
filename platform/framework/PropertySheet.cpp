#include "platform/framework/PropertySheet.h"

#include "platform/ui/Resources.h"

namespace qm::fw {

PropertySheet::PropertySheet(const std::string& caption, Window* parent, UINT startPage)
    : parentWindow(parent), caption(caption), startPage(startPage) {}

void PropertySheet::AddPage(PropertyPage* page) {
  if (!page) return;
  page->sheet = this;
  pages.push_back(page);
}

PropertyPage* PropertySheet::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return pages[static_cast<std::size_t>(index)];
}

int PropertySheet::GetActiveIndex() const {
  if (!Handle()) return -1;
  HWND current = reinterpret_cast<HWND>(::SendMessageA(Handle(), PSM_GETCURRENTPAGEHWND, 0, 0));
  for (int i = 0; i < GetPageCount(); ++i)
    if (current && pages[static_cast<std::size_t>(i)]->Handle() == current) return i;
  return -1;
}

PropertyPage* PropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

bool PropertySheet::SetActivePage(int index) {
  return Handle() && ::SendMessageA(Handle(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != FALSE;
}

void PropertySheet::BindSheetWindow(HWND sheetWindow) {
  if (!Handle() && sheetWindow) SubclassWindow(sheetWindow);
}

INT_PTR PropertySheet::Open(bool modelessSheet, Window* parent) {
  if (Handle()) return -1;
  if (parent) parentWindow = parent;
  modeless = modelessSheet;
  pageHeaders.clear();
  for (PropertyPage* page : pages) {
    page->psp.pResource = qm::ui::FindDialogResource(page->TemplateId());
    if (!page->psp.pResource) return -1;
    page->psp.dwFlags |= PSP_DLGINDIRECT;
    pageHeaders.push_back(page->psp);
  }
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | (wizardMode ? PSH_WIZARD : 0) | (modeless ? PSH_MODELESS : 0);
  header.hwndParent = parentWindow ? parentWindow->Handle() : nullptr;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pageHeaders.size());
  header.nStartPage = startPage;
  header.ppsp = pageHeaders.data();
  const INT_PTR result = PropertySheetA(&header);
  if (modeless) {
    if (result == 0 || result == -1) return -1;
    BindSheetWindow(reinterpret_cast<HWND>(result));
  }
  return result;
}

bool PropertySheet::Create(Window* parent, DWORD, DWORD) { return Open(true, parent) != -1; }

INT_PTR PropertySheet::DoModal() {
  const INT_PTR result = Open(false, nullptr);
  if (result < 0) return -1;
  return result > 0 ? ID_WIZFINISH : IDCANCEL;
}

void PropertySheet::SetWizardButtons(DWORD flags) {
  if (Handle()) ::SendMessageA(Handle(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void PropertySheet::SetFinishText(LPCSTR text) {
  if (Handle()) ::SendMessageA(Handle(), PSM_SETFINISHTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void PropertySheet::CancelToClose() {
  if (Handle()) ::SendMessageA(Handle(), PSM_CANCELTOCLOSE, 0, 0);
}

bool PropertySheet::PressButton(int button) {
  return Handle() && ::SendMessageA(Handle(), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0) != FALSE;
}

HWND PropertySheet::GetCurrentPageHandle() {
  if (!Handle()) return nullptr;
  return reinterpret_cast<HWND>(::SendMessageA(Handle(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool PropertySheet::PreTranslateMessage(MSG* msg) {
  if (!Handle()) return false;
  return ::SendMessageA(Handle(), PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != FALSE;
}

}  // namespace qm::fw
