#include "platform/framework/Dialog.h"

#include "platform/framework/Application.h"
#include "platform/framework/DataExchange.h"
#include "platform/ui/Resources.h"

namespace qm::fw {

// The dialog manager hands WM_INITDIALOG here; from then on the dialog's
// messages go through the object first (it subclasses its window).
LONG_PTR FrameworkDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  Dialog* dialog = reinterpret_cast<Dialog*>(lParam);
  if (!dialog) return FALSE;
  if (!dialog->Handle()) dialog->SubclassWindow(hwnd);
  return dialog->OnInitDialog() ? TRUE : FALSE;
}

Dialog::Dialog(UINT id, Window* parent) : parentWindow(parent), templateId(id) {}

const DialogTemplate* Dialog::FindTemplate(UINT id) const { return qm::ui::FindDialogResource(id); }

namespace {

// A modal dialog made without a parent still belongs to the program: it is
// owned by the window the user was working in (the active one, else the
// main window), which takes no input while the dialog runs.
HWND DefaultOwner() {
  HWND owner = GetActiveWindow();
  if (!owner) {
    Application* application = GetApplication();
    if (application && application->mainWindow) owner = application->mainWindow->Handle();
  }
  while (owner && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
  return owner;
}

}  // namespace

INT_PTR Dialog::DoModal() {
  const DialogTemplate* dialogTemplate = FindTemplate(templateId);
  if (!dialogTemplate || Handle()) return -1;
  HWND owner = parentWindow ? parentWindow->Handle() : DefaultOwner();
  return DialogBoxIndirectParamA(nullptr, dialogTemplate, owner, &FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(UINT id, Window* parent) {
  const DialogTemplate* dialogTemplate = FindTemplate(id);
  if (!dialogTemplate || Handle()) return false;
  templateId = id;
  if (parent) parentWindow = parent;
  HWND owner = parentWindow ? parentWindow->Handle() : DefaultOwner();
  HWND created =
      CreateDialogIndirectParamA(nullptr, dialogTemplate, owner, &FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
  return created != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  if (Handle()) ::EndDialog(Handle(), result);
}

bool Dialog::UpdateData(bool save) {
  if (!Handle()) return false;
  DataExchange exchange(*this, save);
  DoDataExchange(exchange);
  return !exchange.Failed();
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::PreTranslateMessage(MSG* msg) {
  constexpr UINT kLastKeyMessage = 0x0109;
  if (msg->message < WM_KEYDOWN || msg->message > kLastKeyMessage) return false;
  if (!Handle() || (msg->hwnd != Handle() && !IsChild(Handle(), msg->hwnd))) return false;
  return IsDialogMessageA(Handle(), msg) != FALSE;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(WPARAM wParam, LPARAM) {
  // Buttons report BN_CLICKED (0); the dialog manager's Enter and Esc come
  // with code 0 or 1 as well.
  if (HIWORD(wParam) > 1) return false;
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

}  // namespace qm::fw
