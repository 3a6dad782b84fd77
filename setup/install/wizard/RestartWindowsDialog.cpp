#include "install/wizard/RestartWindowsDialog.h"

#include "install/resources/ResourceIds.h"

RestartWindowsDialog::RestartWindowsDialog(qm::fw::Window* parent) : Dialog(IDD_RESTART, parent) {}
