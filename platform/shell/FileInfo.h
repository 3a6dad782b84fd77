// SHGetFileInfoA: an item's place in the system image list of small icons
// (platform/ui/ShellIcons.h) and its type name, for a path or an identifier
// list.
#pragma once

#include "platform/shell/IdList.h"

struct SHFILEINFOA {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  CHAR szDisplayName[MAX_PATH];
  CHAR szTypeName[80];
};

constexpr UINT SHGFI_SMALLICON = 0x0001;
constexpr UINT SHGFI_OPENICON = 0x0002;
constexpr UINT SHGFI_PIDL = 0x0008;  // the path argument is an LPCITEMIDLIST
constexpr UINT SHGFI_TYPENAME = 0x0400;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

// With SHGFI_SYSICONINDEX | SHGFI_SMALLICON: the system's small-icon image
// list (shared; never destroy it), the item's index in it in info->iIcon
// (its open form with SHGFI_OPENICON). With SHGFI_TYPENAME: the item's type
// ("File Folder", "Local Disk", "Text Document", "XYZ File") in
// info->szTypeName, and a non-zero answer. 0 when the path names nothing
// that exists, the list is malformed, or a flag asks for what is not here
// (the large icons among them).
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags);
