#include "platform/ui/controls/StandardControls.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/dialogs/DialogHooks.h"
#include "platform/ui/user/SystemClasses.h"

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

// Makes the classes available to every CreateWindowExA, whether or not a
// dialog was ever created.
[[maybe_unused]] const bool providerAdded = (user::AddSystemClassProvider(&RegisterStandardControls), true);

}  // namespace

void RegisterStandardControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterControlClass(WC_BUTTONA, controls::ButtonProc);
  RegisterControlClass(WC_STATICA, controls::StaticProc);
  RegisterControlClass(WC_EDITA, controls::EditProc);
  RegisterControlClass(PROGRESS_CLASSA, controls::ProgressProc);
  RegisterControlClass(WC_TREEVIEWA, controls::TreeViewProc);
  dialogs::RegisterDialogClass();
}

}  // namespace qm::ui

// Referenced from the link line so that this object, and with it the
// provider above, is part of every program linking the window system.
extern "C" void qm_link_standard_controls() {}
