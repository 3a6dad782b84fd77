#include "platform/shell/IdList.h"

#include <cstring>

#include "platform/kernel/FileApi.h"
#include "platform/shell/Com.h"
#include "platform/shell/ShellFolders.h"

namespace qm::shell {

namespace {

// {20D04FE0-3AEA-1069-A2D8-08002B30309D} in its stored byte order.
constexpr BYTE kMyComputerClass[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                       0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
constexpr std::size_t kDriveItemSize = 25;
// Count, type, zero, size, DOS date and time, attributes.
constexpr std::size_t kFolderHeader = 2 + 1 + 1 + 4 + 4 + 2;
static_assert(kFolderHeader == kItemNameOffset);
// No list the shell builds comes near this; a longer walk means damage.
constexpr std::size_t kMaxListBytes = 64 * 1024;

void PutCount(ItemBytes& item) {
  item[0] = static_cast<BYTE>(item.size());
  item[1] = static_cast<BYTE>(item.size() >> 8);
}

const BYTE* Payload(const SHITEMID& item) { return reinterpret_cast<const BYTE*>(&item) + 2; }

}  // namespace

ItemBytes MyComputerItem() {
  ItemBytes item(20, 0);
  item[2] = kMyComputerItem;
  item[3] = 0x50;
  std::memcpy(item.data() + 4, kMyComputerClass, sizeof kMyComputerClass);
  PutCount(item);
  return item;
}

ItemBytes DriveItem(char driveLetter) {
  if (driveLetter >= 'a' && driveLetter <= 'z') driveLetter = static_cast<char>(driveLetter - 'a' + 'A');
  ItemBytes item(kDriveItemSize, 0);
  item[2] = kDriveItem;
  item[3] = static_cast<BYTE>(driveLetter);
  item[4] = ':';
  item[5] = '\\';
  PutCount(item);
  return item;
}

ItemBytes FolderItem(const std::string& name, bool isDirectory, DWORD fileSize, DWORD attributes) {
  std::size_t size = kFolderHeader + name.size() + 1;
  ItemBytes item(size + size % 2, 0);
  item[2] = isDirectory ? kFolderItem : kFileItem;
  for (int i = 0; i < 4; ++i) item[4 + i] = static_cast<BYTE>(fileSize >> (8 * i));
  item[12] = static_cast<BYTE>(attributes);
  item[13] = static_cast<BYTE>(attributes >> 8);
  std::memcpy(item.data() + kFolderHeader, name.data(), name.size());
  PutCount(item);
  return item;
}

ItemKind KindOf(const SHITEMID& item) {
  if (item.cb < 3) return ItemKind::Unknown;
  BYTE type = Payload(item)[0];
  if (type == kMyComputerItem && item.cb == 20 && std::memcmp(Payload(item) + 2, kMyComputerClass, 16) == 0)
    return ItemKind::MyComputer;
  if (type == kDriveItem && item.cb >= 6) return ItemKind::Drive;
  if ((type == kFolderItem || type == kFileItem) && item.cb > kFolderHeader)
    return type == kFolderItem ? ItemKind::Folder : ItemKind::File;
  return ItemKind::Unknown;
}

std::string ItemName(const SHITEMID& item) {
  switch (KindOf(item)) {
    case ItemKind::Drive: return std::string(1, static_cast<char>(Payload(item)[1]));
    case ItemKind::Folder:
    case ItemKind::File: {
      auto name = reinterpret_cast<const char*>(Payload(item) + kFolderHeader - 2);
      return std::string(name, strnlen(name, item.cb - kFolderHeader));
    }
    default: return "";
  }
}

DWORD ItemAttributes(const SHITEMID& item) {
  ItemKind kind = KindOf(item);
  if (kind != ItemKind::Folder && kind != ItemKind::File) return 0;
  return static_cast<DWORD>(Payload(item)[10] | (Payload(item)[11] << 8));
}

LPITEMIDLIST BuildIdList(const std::vector<ItemBytes>& items) {
  std::size_t size = 2;
  for (const ItemBytes& item : items) size += item.size();
  auto block = static_cast<BYTE*>(CoTaskMemAlloc(size));
  if (!block) return nullptr;
  std::size_t at = 0;
  for (const ItemBytes& item : items) {
    std::memcpy(block + at, item.data(), item.size());
    at += item.size();
  }
  block[at] = block[at + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(block);
}

std::optional<std::vector<ItemBytes>> SplitIdList(LPCITEMIDLIST list) {
  if (!list) return std::nullopt;
  std::vector<ItemBytes> items;
  auto p = reinterpret_cast<const BYTE*>(list);
  std::size_t total = 0;
  while (true) {
    WORD count = static_cast<WORD>(p[0] | (p[1] << 8));
    if (count == 0) return items;
    if (count < 2 || (total += count) > kMaxListBytes) return std::nullopt;
    items.emplace_back(p, p + count);
    p += count;
  }
}

LPITEMIDLIST IdListFromPath(const std::string& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':') return nullptr;
  std::vector<ItemBytes> items = {MyComputerItem(), DriveItem(windowsPath[0])};
  std::string walked = windowsPath.substr(0, 2);
  std::size_t start = 3;
  while (start < windowsPath.size()) {
    std::size_t end = windowsPath.find('\\', start);
    std::string name = windowsPath.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!name.empty()) {
      walked += "\\" + name;
      bool isDirectory = true;
      DWORD size = 0;
      WIN32_FILE_ATTRIBUTE_DATA found;
      if (GetFileAttributesExA(walked.c_str(), GetFileExInfoStandard, &found) &&
          !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        isDirectory = false;
        size = found.nFileSizeLow;
      }
      items.push_back(FolderItem(name, isDirectory, size, isDirectory ? 0x10 : 0x20));
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return BuildIdList(items);
}

std::optional<std::string> PathFromIdList(LPCITEMIDLIST list) {
  std::optional<std::vector<ItemBytes>> items = SplitIdList(list);
  return items ? PathFromItems(*items) : std::nullopt;
}

std::optional<std::string> PathFromItems(const std::vector<ItemBytes>& items) {
  std::string path;
  std::size_t names = 0;
  if (items.empty() || KindOf(AsItem(items[0])) != ItemKind::MyComputer) {
    path = DesktopDirectory();
  } else {
    if (items.size() < 2 || KindOf(AsItem(items[1])) != ItemKind::Drive) return std::nullopt;
    path = ItemName(AsItem(items[1])) + ":\\";
    names = 2;
  }
  for (std::size_t i = names; i < items.size(); ++i) {
    ItemKind kind = KindOf(AsItem(items[i]));
    // Only the last item may be a file.
    if (kind != ItemKind::Folder && (kind != ItemKind::File || i + 1 != items.size())) return std::nullopt;
    if (path.back() != '\\') path += '\\';
    path += ItemName(AsItem(items[i]));
  }
  return path;
}

}  // namespace qm::shell
