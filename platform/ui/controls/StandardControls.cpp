#include "platform/ui/controls/StandardControls.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/dialogs/DialogHooks.h"

namespace qm::ui {

namespace {

void RegisterControlClass(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = controls::kStateBytes;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

}  // namespace

void RegisterStandardControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterControlClass(WC_BUTTONA, controls::ButtonProc);
  RegisterControlClass(WC_STATICA, controls::StaticProc);
  RegisterControlClass(WC_EDITA, controls::EditProc);
  RegisterControlClass(PROGRESS_CLASSA, controls::ProgressProc);
  RegisterControlClass(WC_LISTBOXA, controls::ListBoxProc);
  RegisterControlClass(WC_COMBOBOXA, controls::ComboBoxProc);
  // The class of a combo box's drop-down list.
  RegisterControlClass(controls::kComboListClass, controls::ListBoxProc);
  RegisterControlClass(WC_TREEVIEWA, controls::TreeViewProc);
  dialogs::RegisterDialogClass();
}

}  // namespace qm::ui
