#include "install/folders/FoldersDlg.h"

#include <optional>

#include "install/resources/ResourceIds.h"
#include "install/service/Service.h"
#include "platform/kernel/FileApi.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Resources.h"
#include "platform/ui/Controls.h"

namespace {

std::string LoadedString(UINT id) {
  std::string text;
  qm::fw::LoadString(id, text);
  return text;
}

// The platform's calls hold a path in MAX_PATH characters with its
// terminator; a longer one would be cut to another path or overrun them.
bool FitsPathBuffer(const std::string& path) { return path.size() < MAX_PATH; }

// The typed path in the full form every call reads it in: "C:Games",
// "C:/Games", "C:\Games\..\Up" and "C:\Games\Up. " lead to C:\Games,
// C:\Games, C:\Up and C:\Games\Up, so that is where the tree goes and what
// the destination, the record and the links get. Nothing when no Windows
// path can hold it.
std::optional<std::string> FullPathOf(const std::string& typed) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(typed.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(full, length);
}

}  // namespace

FoldersDlg::FoldersDlg(qm::fw::Window* parent) : Dialog(IDD_CHOOSE_DIRECTORY, parent) {
  MapNotify(TVN_ITEMEXPANDINGA, IDC_FOLDER_TREE, &FoldersDlg::OnItemExpanding);
  MapNotify(NM_RCLICK, IDC_FOLDER_TREE, &FoldersDlg::OnRightClick);
  MapNotify(TVN_DELETEITEMA, IDC_FOLDER_TREE, &FoldersDlg::OnDeleteItem);
  MapNotify(TVN_SELCHANGEDA, IDC_FOLDER_TREE, &FoldersDlg::OnSelChanged);
  MapCommand(BN_CLICKED, IDC_GO, &FoldersDlg::OnGo);
  for (WORD code : {CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_SELCHANGE})
    MapCommand(code, IDC_FOLDER_PATH, &FoldersDlg::UpdateButtons);
}

void FoldersDlg::DoDataExchange(qm::fw::DataExchange& exchange) {
  qm::fw::DdxControl(exchange, IDC_GO, goButton);
  qm::fw::DdxControl(exchange, IDC_FOLDER_PATH, pathCombo);
}

bool FoldersDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  tree.SubclassDlgItem(IDC_FOLDER_TREE, this);
  tree.AttachSystemImages();
  tree.LoadDesktop();
  if (!folderPath.empty() && IsDirectory(folderPath)) tree.RevealPath(folderPath);
  EnableOk(!folderPath.empty());
  pathCombo.SetWindowText(folderPath);
  UpdateButtons();
  for (const std::string& entry : comboEntries) pathCombo.AddString(entry);
  return true;
}

void FoldersDlg::EnableOk(bool enable) {
  if (qm::fw::Window* ok = GetDlgItem(IDOK)) ok->EnableWindow(enable);
}

void FoldersDlg::UpdateButtons() {
  const std::string text = pathCombo.GetWindowText();
  EnableOk(!text.empty());
  if (goButton.Handle()) goButton.EnableWindow(FitsPathBuffer(text) && IsDirectory(text));
}

void FoldersDlg::OnGo() {
  const std::string typed = pathCombo.GetWindowText();
  tree.RevealPath(FullPathOf(typed).value_or(typed));
}

void FoldersDlg::OnItemExpanding(NMHDR* header, LRESULT* result) { tree.ExpandShellItem(header, result); }

void FoldersDlg::OnRightClick(NMHDR* header, LRESULT* result) { tree.ShowItemMenu(header, result); }

void FoldersDlg::OnDeleteItem(NMHDR* header, LRESULT* result) { tree.ReleaseShellItem(header, result); }

void FoldersDlg::OnSelChanged(NMHDR* header, LRESULT* result) {
  std::string path;
  if (!tree.SelectShellItem(header, result, path)) return;
  pathCombo.SetWindowText(path);
  EnableOk(!path.empty());
  UpdateButtons();
}

void FoldersDlg::ShowInvalid(const std::string& path) {
  MessageBox(qm::fw::Format(LoadedString(IDS_DIRECTORY_INVALID).c_str(), path.c_str()).c_str(),
             LoadedString(IDS_ERROR).c_str(), MB_OK | MB_ICONHAND);
}

void FoldersDlg::OnOK() {
  folderPath = pathCombo.GetWindowText();
  EnableOk(!folderPath.empty());
  // A path longer than the platform's buffers can be neither tested nor
  // made as it stands.
  if (!FitsPathBuffer(folderPath)) {
    ShowInvalid(folderPath);
    return;
  }
  const std::optional<std::string> full = FullPathOf(folderPath);
  if (full) folderPath = *full;
  if (IsDirectory(folderPath)) {
    EndDialog(IDOK);
    return;
  }
  const std::string question = qm::fw::Format(LoadedString(IDS_CREATE_DIRECTORY).c_str(), folderPath.c_str());
  if (MessageBox(question.c_str(), LoadedString(IDS_INSTALL).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // A name no Windows path can hold is never made, and neither are the
  // folders before it, which would be left behind.
  if (full && CreateDirectoryPath(folderPath)) {
    EndDialog(IDOK);
    return;
  }
  ShowInvalid(folderPath);
}
