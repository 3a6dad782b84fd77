#include "install/wizard/ResumeExitDialog.h"

#include "install/resources/ResourceIds.h"

ResumeExitDialog::ResumeExitDialog(qm::fw::Window* parent) : Dialog(IDD_RESUME_EXIT, parent) {}
