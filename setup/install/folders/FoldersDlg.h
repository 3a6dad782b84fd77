// FoldersDlg: the modal "Choose Directory" dialog behind the destination
// page's Browse... button: a tree of the shell's folders above an editable
// combo box holding a path. Selecting a file-system folder writes its path
// into the combo box, Go opens the tree down to a typed path, and OK accepts
// the typed path, offering to create the directory when it is missing.
#pragma once

#include <string>
#include <vector>

#include "install/folders/ShellTree.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"

class FoldersDlg : public qm::fw::Dialog {
 public:
  explicit FoldersDlg(qm::fw::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;

  // Added to the combo box's list when the dialog opens.
  std::vector<std::string> comboEntries;
  // In: the path shown at the start; out, after IDOK: the accepted path,
  // an existing directory. Overwritten by every OK press.
  std::string folderPath;
  ShellTree tree;
  qm::fw::Button goButton;
  qm::fw::ComboBox pathCombo;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;

 private:
  // OK while the combo box holds text; Go while it names a directory.
  void UpdateButtons();
  void OnGo();
  void OnItemExpanding(NMHDR* header, LRESULT* result);
  void OnRightClick(NMHDR* header, LRESULT* result);
  void OnDeleteItem(NMHDR* header, LRESULT* result);
  void OnSelChanged(NMHDR* header, LRESULT* result);
  void EnableOk(bool enable);
  // The "Directory %s is invalid" box.
  void ShowInvalid(const std::string& path);
};
