// ShellTree: a tree of the shell namespace's folders below the desktop, with
// the system's small icons, children read only when a folder is first
// opened or selected, the shell's own order, the shell's context menu on a
// right click, and a way to open the tree down to a typed path. The tree has
// no notification handlers of its own: its dialog forwards the expanding,
// right-click, delete and selection notifications to the handlers below.
#pragma once

#include <string>

#include "install/folders/ShellPidl.h"
#include "platform/framework/TreeCtrl.h"
#include "platform/shell/Namespace.h"

// The record behind each tree item, held as the item's parameter and
// allocated from the task allocator.
struct ShellItemData {
  LPSHELLFOLDER parentFolder;  // one reference held by the record
  LPITEMIDLIST relativeId;     // single-level, relative to parentFolder
  LPITEMIDLIST absoluteId;     // from the desktop
};

class ShellTree : public qm::fw::TreeCtrl {
 public:
  // The system's small icons become the tree's images.
  void AttachSystemImages();
  // The desktop's folders at the top level, the first of them expanded and
  // selected.
  void LoadDesktop();
  // The special folder's folders at the top level (the desktop's when it
  // cannot be found); the result of selecting the first of them.
  bool LoadSpecialFolder(int folder);
  // Inserts the folders of folder under parent, unsorted; parentId is the
  // absolute list of folder (null for the desktop).
  void AddFolderChildren(LPSHELLFOLDER folder, LPCITEMIDLIST parentId, HTREEITEM parent);
  // The shell's order of two records (the sort callback).
  static int CompareShellItems(LPARAM first, LPARAM second, LPARAM unused);

  // TVN_ITEMEXPANDING: a folder's children are read on its first expansion.
  void ExpandShellItem(NMHDR* header, LRESULT* result);
  // NM_RCLICK: the item under the cursor is selected and its menu shown.
  void ShowItemMenu(NMHDR* header, LRESULT* result);
  // TVN_SELCHANGED: true and the path when the new selection is a
  // file-system folder; a folder never opened gets its children now.
  bool SelectShellItem(NMHDR* header, LRESULT* result, std::string& path);
  // TVN_DELETEITEM: the item's record goes back to the task allocator.
  void ReleaseShellItem(NMHDR* header, LRESULT* result);
  // The selected file-system folder's path, loading nothing.
  bool GetSelectedPath(std::string& path);

  // Selects the first of first and its following siblings whose name
  // equals name, letter case ignored: in mode 0 the drive of its path
  // ("C:"), in mode 1 its text in the tree. Only file-system folders match.
  bool MatchChildItem(HTREEITEM first, const std::string& name, int mode);
  // Opens the tree down to path, as far as its pieces are found; a path
  // that does not exist is reported in a message box.
  void RevealPath(const std::string& path);

 private:
  // The item's folder bound as IShellFolder (a reference for the
  // caller) with its record; null when it has none or cannot be bound.
  LPSHELLFOLDER BindSelected(HTREEITEM item, ShellItemData** record);
  // The record's path when its item is a file-system folder.
  static bool PathOfFileSystemItem(const ShellItemData& record, std::string& path);
  void SortChildren(HTREEITEM parent);
  // The selected file-system folder's path; with loadChildren, a folder
  // never opened gets its children.
  bool SelectedPath(std::string& path, bool loadChildren);

  ShellPidl pidl;
};
