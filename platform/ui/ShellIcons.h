// The shell's small icons, drawn by the window system in the classic look:
// the desktop, the computer, a fixed drive, a closed and an open folder and
// a file. The shell's system image list (SHGetFileInfoA with
// SHGFI_SYSICONINDEX) holds them in this order.
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/ui/CommCtrl.h"

namespace qm::ui {

enum class ShellIcon { Desktop, Computer, FixedDrive, Folder, OpenFolder, File };
constexpr int kShellIconCount = 6;
constexpr int kSmallIconSize = 16;

// A shared icon of 16x16 pixels, made on first use; never destroyed.
HICON SmallShellIcon(ShellIcon kind);

// The system image list of small icons: each ShellIcon at the index of its
// value. Made on first use, shared by every caller; nobody destroys it.
HIMAGELIST SmallShellImageList();

}  // namespace qm::ui
