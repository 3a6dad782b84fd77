// Item identifier lists: a sequence of items, each starting with a 16-bit
// byte count that includes the count itself, ended by a 16-bit zero. The
// empty list (just the zero) is the desktop, the root of the namespace.
//
// Item contents are the platform's own; every item starts after its count
// with a type byte:
//   0x1F  My Computer: 0x1F, sort index 0x50, then the 16 bytes of its class
//         id {20D04FE0-3AEA-1069-A2D8-08002B30309D}. 20 bytes in all.
//   0x2F  a drive: 0x2F, then "X:\" in ASCII, zero-padded to 25 bytes in all.
//   0x31  a folder, 0x32 a file: the type, a zero byte, the file size (u32),
//         a DOS date and time (u32), the FILE_ATTRIBUTE_* bits (u16), then
//         the long name in UTF-8 with its terminating zero, padded with a
//         zero byte to an even count.
// A file-system path is My Computer, its drive, then one item per folder.
// The desktop's own folders and files, those of the desktop directory, are
// folder and file items directly below the desktop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"

struct SHITEMID {
  WORD cb;
  BYTE abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

namespace qm::shell {

enum class ItemKind { MyComputer, Drive, Folder, File, Unknown };

constexpr BYTE kMyComputerItem = 0x1F;
constexpr BYTE kDriveItem = 0x2F;
constexpr BYTE kFolderItem = 0x31;
constexpr BYTE kFileItem = 0x32;

// One item's bytes, including its count (but not a list terminator).
using ItemBytes = std::vector<BYTE>;

ItemBytes MyComputerItem();
ItemBytes DriveItem(char driveLetter);
ItemBytes FolderItem(const std::string& name, bool isDirectory = true, DWORD size = 0, DWORD attributes = 0x10);

ItemKind KindOf(const SHITEMID& item);
// The drive letter of a drive item, or the name of a folder or file item.
std::string ItemName(const SHITEMID& item);
// The FILE_ATTRIBUTE_* bits a folder or file item was made with; 0 for others.
DWORD ItemAttributes(const SHITEMID& item);
// Where a folder or file item's name starts, counted from the item's start.
constexpr std::size_t kItemNameOffset = 14;

// A list in task memory (CoTaskMemAlloc) from its items; free with ILFree.
LPITEMIDLIST BuildIdList(const std::vector<ItemBytes>& items);
// The items of a list, or nothing when a count runs past a sane size.
std::optional<std::vector<ItemBytes>> SplitIdList(LPCITEMIDLIST list);
// The list of a full Windows path (X:\a\b): My Computer, drive, folders.
LPITEMIDLIST IdListFromPath(const std::string& windowsPath);
// The Windows path of a file-system list (the desktop's is its directory);
// nothing for My Computer itself and for malformed lists.
std::optional<std::string> PathFromIdList(LPCITEMIDLIST list);
std::optional<std::string> PathFromItems(const std::vector<ItemBytes>& items);

// The count of the item at an address that need not be aligned for a WORD.
inline WORD ItemCountAt(const void* item) {
  auto bytes = static_cast<const BYTE*>(item);
  return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

inline const SHITEMID& AsItem(const ItemBytes& item) { return *reinterpret_cast<const SHITEMID*>(item.data()); }

}  // namespace qm::shell
