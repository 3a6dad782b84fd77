#include "install/folders/ShellTree.h"

#include "install/folders/FileName.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/WinUser.h"

namespace {

// The caption of the box that reports a path that is not there.
constexpr char kPathNotFound[] = "Путь не найден";

// Upper-cased as the file system compares names, so "zürich" finds
// "Zürich" and bytes outside ASCII are never handed to a C locale routine.
std::string Upcased(const std::string& text) {
  std::string upper = text;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

ShellItemData* RecordOf(LPARAM param) { return reinterpret_cast<ShellItemData*>(param); }

// The folder's item list entries in the order the enumerator hands them out.
LPITEMIDLIST NextEnumerated(IEnumIDList* items) {
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  if (items->Next(1, &item, &fetched) != S_OK || fetched != 1) return nullptr;
  return item;
}

}  // namespace

void ShellTree::AttachSystemImages() {
  SHFILEINFOA info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) SetImageList(images, TVSIL_NORMAL);
}

void ShellTree::AddFolderChildren(LPSHELLFOLDER folder, LPCITEMIDLIST parentId, HTREEITEM parent) {
  LPMALLOC allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator))) return;
  IEnumIDList* items = nullptr;
  HWND owner = GetParent() ? GetParent()->Handle() : Handle();
  if (FAILED(folder->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items)) || !items) {
    allocator->Release();
    return;
  }

  HTREEITEM previous = TVI_FIRST;
  while (LPITEMIDLIST item = NextEnumerated(items)) {
    LPCITEMIDLIST asked[] = {item};
    SFGAOF attributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
    folder->GetAttributesOf(1, asked, &attributes);
    if (!(attributes & SFGAO_FOLDER)) {
      allocator->Free(item);
      continue;
    }

    TVINSERTSTRUCTA insert{};
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    if (attributes & SFGAO_HASSUBFOLDER) {
      insert.item.mask |= TVIF_CHILDREN;
      insert.item.cChildren = 1;
    }
    auto record = static_cast<ShellItemData*>(allocator->Alloc(sizeof(ShellItemData)));
    char name[MAX_PATH];
    if (!record || !pidl.GetItemName(folder, item, SHGDN_NORMAL, name)) {
      if (record) allocator->Free(record);
      allocator->Free(item);
      break;
    }
    insert.item.pszText = name;

    LPITEMIDLIST forIcons = pidl.JoinIdLists(parentId, item);
    insert.item.iImage = pidl.GetItemIcon(forIcons, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    insert.item.iSelectedImage =
        pidl.GetItemIcon(forIcons, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    record->parentFolder = folder;
    folder->AddRef();
    record->relativeId = pidl.CopyFirstItemId(allocator, item);
    record->absoluteId = pidl.JoinIdLists(parentId, item);
    if (forIcons) allocator->Free(forIcons);
    insert.item.lParam = reinterpret_cast<LPARAM>(record);

    insert.hParent = parent;
    insert.hInsertAfter = previous;
    HTREEITEM inserted = InsertItem(&insert);
    if (inserted) {
      previous = inserted;
    } else {
      // The tree took no item, so no delete notification will return it.
      record->parentFolder->Release();
      allocator->Free(record->relativeId);
      allocator->Free(record->absoluteId);
      allocator->Free(record);
    }
    allocator->Free(item);
  }
  items->Release();
  allocator->Release();
}

int ShellTree::CompareShellItems(LPARAM first, LPARAM second, LPARAM) {
  ShellItemData* a = RecordOf(first);
  ShellItemData* b = RecordOf(second);
  if (!a || !b) return 0;
  HRESULT order = a->parentFolder->CompareIDs(0, a->relativeId, b->relativeId);
  if (FAILED(order)) return 0;
  return static_cast<short>(order & 0xFFFF);
}

void ShellTree::SortChildren(HTREEITEM parent) {
  TVSORTCB sort{};
  sort.hParent = parent;
  sort.lpfnCompare = &ShellTree::CompareShellItems;
  SortChildrenCB(&sort);
}

void ShellTree::LoadDesktop() {
  LPSHELLFOLDER desktop = nullptr;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    DeleteAllItems();
    AddFolderChildren(desktop, nullptr, TVI_ROOT);
    desktop->Release();
  }
  SortChildren(TVI_ROOT);
  HTREEITEM first = GetRootItem();
  Expand(first, TVE_EXPAND);
  SelectItem(first);
}

bool ShellTree::LoadSpecialFolder(int folder) {
  LPSHELLFOLDER desktop = nullptr;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    DeleteAllItems();
    LPITEMIDLIST location = nullptr;
    LPSHELLFOLDER special = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(Handle(), folder, &location)) &&
        SUCCEEDED(desktop->BindToObject(location, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&special)))) {
      AddFolderChildren(special, location, TVI_ROOT);
      special->Release();
    } else {
      AddFolderChildren(desktop, nullptr, TVI_ROOT);
    }
    if (location) ILFree(location);
    desktop->Release();
  }
  SortChildren(TVI_ROOT);
  HTREEITEM first = GetRootItem();
  Expand(first, TVE_EXPAND);
  return SelectItem(first);
}

void ShellTree::ExpandShellItem(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto notice = reinterpret_cast<NMTREEVIEWA*>(header);
  HTREEITEM item = notice->itemNew.hItem;
  if (GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) return;
  ShellItemData* record = RecordOf(static_cast<LPARAM>(GetItemData(item)));
  if (!record) return;
  LPSHELLFOLDER bound = nullptr;
  if (SUCCEEDED(record->parentFolder->BindToObject(record->relativeId, nullptr, IID_IShellFolder,
                                                   reinterpret_cast<void**>(&bound)))) {
    AddFolderChildren(bound, record->absoluteId, item);
    // Each child record holds its own reference to the folder.
    bound->Release();
  }
  SortChildren(item);
}

LPSHELLFOLDER ShellTree::BindSelected(HTREEITEM item, ShellItemData** record) {
  *record = RecordOf(static_cast<LPARAM>(GetItemData(item)));
  if (!*record || !(*record)->parentFolder || !(*record)->relativeId) return nullptr;
  LPSHELLFOLDER bound = nullptr;
  if (FAILED((*record)->parentFolder->BindToObject((*record)->relativeId, nullptr, IID_IShellFolder,
                                                   reinterpret_cast<void**>(&bound))))
    return nullptr;
  return bound;
}

bool ShellTree::PathOfFileSystemItem(const ShellItemData& record, std::string& path) {
  LPCITEMIDLIST asked[] = {record.relativeId};
  SFGAOF attributes = SFGAO_FILESYSTEM;
  if (FAILED(record.parentFolder->GetAttributesOf(1, asked, &attributes)) || !(attributes & SFGAO_FILESYSTEM))
    return false;
  char text[MAX_PATH];
  if (!SHGetPathFromIDListA(record.absoluteId, text)) return false;
  path = text;
  return true;
}

bool ShellTree::SelectedPath(std::string& path, bool loadChildren) {
  HTREEITEM item = GetSelectedItem();
  if (!item) return false;
  ShellItemData* record = nullptr;
  LPSHELLFOLDER bound = BindSelected(item, &record);
  if (!bound) return false;
  bool found = PathOfFileSystemItem(*record, path);

  TVITEMA children{};
  children.mask = TVIF_CHILDREN | TVIF_HANDLE;
  children.hItem = item;
  if (loadChildren && GetItem(&children) && children.cChildren == 1 &&
      !(GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)) {
    AddFolderChildren(bound, record->absoluteId, item);
    SortChildren(item);
    // A later expansion finds the children there and reads nothing again.
    SetItemState(item, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
  }
  bound->Release();
  return found;
}

bool ShellTree::SelectShellItem(NMHDR*, LRESULT* result, std::string& path) {
  *result = 0;
  return SelectedPath(path, true);
}

bool ShellTree::GetSelectedPath(std::string& path) { return SelectedPath(path, false); }

void ShellTree::ReleaseShellItem(NMHDR* header, LRESULT* result) {
  *result = 0;
  auto notice = reinterpret_cast<NMTREEVIEWA*>(header);
  ShellItemData* record = RecordOf(notice->itemOld.lParam);
  if (!record) return;
  LPMALLOC allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator))) return;
  if (record->parentFolder) record->parentFolder->Release();
  allocator->Free(record->relativeId);
  allocator->Free(record->absoluteId);
  allocator->Free(record);
  allocator->Release();
}

void ShellTree::ShowItemMenu(NMHDR*, LRESULT* result) {
  *result = 0;
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(Handle(), &point);
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  SelectItem(item);
  if (!item || !(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return;
  ClientToScreen(Handle(), &point);
  ShellItemData* record = RecordOf(static_cast<LPARAM>(GetItemData(item)));
  if (!record) return;
  HWND owner = GetParent() ? GetParent()->Handle() : Handle();
  pidl.RunContextMenu(owner, record->parentFolder, record->relativeId, point);
}

bool ShellTree::MatchChildItem(HTREEITEM first, const std::string& name, int mode) {
  const std::string wanted = Upcased(name);
  // Letter case does not matter, but a host folder may hold two names that
  // differ only in it ("Games" and "games"): the one named as typed is the
  // one the path itself leads to, so it goes before the first that differs.
  HTREEITEM match = nullptr;
  for (HTREEITEM item = first; item; item = GetNextSiblingItem(item)) {
    ShellItemData* record = nullptr;
    LPSHELLFOLDER bound = BindSelected(item, &record);
    if (!bound) continue;
    std::string path;
    bool fileSystem = PathOfFileSystemItem(*record, path);
    bound->Release();
    if (!fileSystem) continue;
    std::string text = mode == 0 ? FileName(path).GetDriveAndDirectory().substr(0, 2) : GetItemText(item);
    if (Upcased(text) != wanted) continue;
    if (!match) match = item;
    if (text == name) {
      match = item;
      break;
    }
  }
  if (!match) return false;
  EnsureVisible(match);
  SelectItem(match);
  return true;
}

void ShellTree::RevealPath(const std::string& path) {
  if (!FileName(path).Exists()) {
    MessageBox(path.c_str(), kPathNotFound, MB_ICONHAND);
    return;
  }
  std::string full = path;
  if (full.empty() || full.back() != '\\') full += '\\';
  FileName parts(full);
  const std::string driveAndDirectory = parts.GetDriveAndDirectory();
  const std::string drive = full.size() >= 2 && full[1] == ':' ? full.substr(0, 2) : "";
  const std::string directory = driveAndDirectory.substr(drive.size());

  if (!MatchChildItem(GetChildItem(GetRootItem()), drive, 0)) return;
  std::size_t start = 0;
  while (start < directory.size()) {
    std::size_t end = directory.find('\\', start);
    if (end == std::string::npos) end = directory.size();
    const std::string piece = directory.substr(start, end - start);
    start = end + 1;
    if (piece.empty()) continue;
    // The selection change has loaded the children of the item just matched.
    if (!MatchChildItem(GetChildItem(GetSelectedItem()), piece, 1)) return;
  }
}
