// ShellPidl: the item identifier list operations of the folder tree. Every
// list it makes comes from the shell's task allocator and goes back to it;
// it keeps no data of its own.
#pragma once

#include <string>

#include "platform/shell/Namespace.h"

class ShellPidl {
 public:
  // The item after this one.
  LPITEMIDLIST NextItemId(LPCITEMIDLIST item) const;
  // The bytes of a list with its terminator; 0 for null.
  UINT IdListSize(LPCITEMIDLIST list) const;
  // A zero-filled block from the task allocator, or null.
  LPITEMIDLIST AllocIdList(UINT size) const;
  // The items of first (null for none), then those of second (null for
  // none) and one terminator; null when there is no memory.
  LPITEMIDLIST JoinIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) const;
  // The list's first item alone, as a single-level list; null when there is
  // no memory.
  LPITEMIDLIST CopyFirstItemId(LPMALLOC allocator, LPCITEMIDLIST list) const;
  // The item's display name in the folder (SHGDN_* flags) into name, which
  // holds MAX_PATH characters and is always terminated; false when the
  // folder gives none.
  bool GetItemName(LPSHELLFOLDER folder, LPCITEMIDLIST relative, DWORD flags, char* name) const;
  // The item's list from the desktop, found through its parsing name; null
  // when it cannot be parsed back.
  LPITEMIDLIST ParseToIdList(LPSHELLFOLDER folder, LPCITEMIDLIST relative) const;
  // Shows the item's context menu at a screen point and runs the command
  // chosen; the failures of the shell's menu are shown in a message box
  // with their code. False when no menu was built.
  bool RunContextMenu(HWND owner, LPSHELLFOLDER folder, LPCITEMIDLIST relative, POINT point) const;
  // The item's index in the system image list (SHGFI_* flags); 0 when the
  // shell gives none.
  int GetItemIcon(LPCITEMIDLIST absolute, UINT flags) const;
};
