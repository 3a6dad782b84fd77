// The shell's special folders, as identifier lists and as paths. They live
// in the prefix: Programs is C:\Windows\Start Menu\Programs, the desktop
// directory C:\Windows\Desktop.
#pragma once

#include <string>

#include "platform/shell/IdList.h"

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_DRIVES = 0x0011;

// *list comes from the task allocator; free it with ILFree. CSIDL_DESKTOP is
// the empty list, CSIDL_DRIVES the My Computer item.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
// path holds MAX_PATH characters. FALSE for items outside the file system.
// The desktop (the empty list) answers its directory.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
void ILFree(LPITEMIDLIST list);

namespace qm::shell {
// The desktop directory, C:\Windows\Desktop, the folder of the desktop's own
// folders and files.
std::string DesktopDirectory();
}  // namespace qm::shell
