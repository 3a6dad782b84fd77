// Data exchange between a dialog's members and its controls. A dialog's
// DoDataExchange lists its bindings; UpdateData(false) runs them from the
// members into the controls, UpdateData(true) from the controls back.
#pragma once

#include <string>

#include "platform/framework/Window.h"

namespace qm::fw {

class Dialog;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate) : dialog(dialog), saveAndValidate(saveAndValidate) {}

  // The control's window; a missing control fails the exchange.
  HWND PrepareControl(int id);
  void Fail() { failed = true; }
  bool Failed() const { return failed; }

  Dialog& dialog;
  const bool saveAndValidate;  // true: controls to members

 private:
  bool failed = false;
};

// The control's text.
void DdxText(DataExchange& exchange, int id, std::string& value);
// A check box: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DdxCheck(DataExchange& exchange, int id, int& value);
// The radio group that starts at firstId: the index of the checked button,
// -1 when none is.
void DdxRadio(DataExchange& exchange, int firstId, int& value);
// Binds control (a Window subclass such as a self-drawing progress bar) to
// the dialog's control id, once.
void DdxControl(DataExchange& exchange, int id, Window& control);

}  // namespace qm::fw
