#include "install/wizard/WaitingDialog.h"

#include "install/resources/ResourceIds.h"

WaitingDialog::WaitingDialog() : Dialog(IDD_WAITING) {}

void WaitingDialog::OnOK() {}

void WaitingDialog::OnCancel() {}

void WaitingDialog::PostNcDestroy() {
  Dialog::PostNcDestroy();
  delete this;
}
