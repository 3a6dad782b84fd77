#include "platform/shell/NamespaceNodes.h"

#include <atomic>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/Subfolders.h"
#include "platform/shell/Com.h"
#include "platform/shell/Namespace.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/Volume.h"

namespace qm::shell {

namespace {

std::atomic<std::size_t> folderListings{0};
std::atomic<std::size_t> subfolderProbes{0};

constexpr const char* kMyComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// The kind a node becomes when an item follows one of the given kind.
std::optional<NodeKind> Below(NodeKind parent, const SHITEMID& item) {
  ItemKind kind = KindOf(item);
  switch (parent) {
    case NodeKind::Desktop:
      if (kind == ItemKind::MyComputer) return NodeKind::MyComputer;
      break;
    case NodeKind::MyComputer:
      if (kind == ItemKind::Drive) return NodeKind::Drive;
      return std::nullopt;
    case NodeKind::File: return std::nullopt;
    default: break;
  }
  if (kind == ItemKind::Folder && !ItemName(item).empty()) return NodeKind::Folder;
  if (kind == ItemKind::File && !ItemName(item).empty()) return NodeKind::File;
  return std::nullopt;
}

std::string WithSeparator(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

HRESULT LastErrorResult() {
  DWORD error = GetLastError();
  return HRESULT_FROM_WIN32(error ? error : ERROR_PATH_NOT_FOUND);
}

HRESULT ListFileSystem(const std::string& path, DWORD flags, std::vector<ItemBytes>* children) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((WithSeparator(path) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // Only an empty drive root has nothing at all, not even "." and "..".
    return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : LastErrorResult();
  }
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !(flags & SHCONTF_INCLUDEHIDDEN)) continue;
    bool isDirectory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (!(flags & (isDirectory ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS))) continue;
    children->push_back(FolderItem(name, isDirectory, found.nFileSizeLow, found.dwFileAttributes));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return S_OK;
}

int Rank(const ItemBytes& item) {
  switch (KindOf(AsItem(item))) {
    case ItemKind::MyComputer: return 0;
    case ItemKind::Drive: return 1;
    case ItemKind::Folder: return 2;
    case ItemKind::File: return 3;
    default: return 4;
  }
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& start) {
  return text.size() >= start.size() && qm::kernel::NamesEqualIgnoringCase(text.substr(0, start.size()), start);
}

bool IsDriveSpec(const std::string& name) {
  return name.size() >= 2 && name[1] == ':' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

Node Child(const Node& parent, NodeKind kind, ItemBytes item) {
  Node child{kind, parent.items};
  child.items.push_back(std::move(item));
  return child;
}

// Each name of a relative path looked up in turn, so the lists carry the
// names as the volume spells them.
HRESULT ParseFileSystem(const Node& folder, const std::string& name, Node* found) {
  Node at = folder;
  std::size_t start = 0;
  bool any = false;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == ".." || part.find_first_of("*?") != std::string::npos)
      return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    if (!at.IsFolder()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    std::optional<std::string> path = NodePath(at);
    if (!path) return E_INVALIDARG;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((WithSeparator(*path) + part).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
      // A missing name with more after it is a missing path.
      bool last = name.find_first_not_of("\\/", start) == std::string::npos || start > name.size();
      return last ? LastErrorResult() : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    FindClose(search);
    bool isDirectory = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    at = Child(at, isDirectory ? NodeKind::Folder : NodeKind::File,
               FolderItem(data.cFileName, isDirectory, data.nFileSizeLow, data.dwFileAttributes));
    any = true;
  }
  if (!any && folder.kind != NodeKind::Drive) return E_INVALIDARG;
  *found = std::move(at);
  return S_OK;
}

}  // namespace

std::optional<Node> NodeOf(std::vector<ItemBytes> items) {
  Node node;
  for (const ItemBytes& item : items) {
    std::optional<NodeKind> kind = Below(node.kind, AsItem(item));
    if (!kind) return std::nullopt;
    node.kind = *kind;
  }
  node.items = std::move(items);
  return node;
}

std::optional<Node> Descend(const Node& folder, LPCITEMIDLIST relative) {
  std::optional<std::vector<ItemBytes>> items = SplitIdList(relative);
  if (!items) return std::nullopt;
  Node node = folder;
  for (ItemBytes& item : *items) {
    std::optional<NodeKind> kind = Below(node.kind, AsItem(item));
    if (!kind) return std::nullopt;
    node.kind = *kind;
    node.items.push_back(std::move(item));
  }
  return node;
}

std::optional<std::string> NodePath(const Node& node) {
  if (node.kind == NodeKind::MyComputer) return std::nullopt;
  return PathFromItems(node.items);
}

HRESULT ListChildren(const Node& folder, DWORD contentFlags, std::vector<ItemBytes>* children) {
  children->clear();
  ++folderListings;
  switch (folder.kind) {
    case NodeKind::Desktop: {
      if (contentFlags & SHCONTF_FOLDERS) children->push_back(MyComputerItem());
      // A desktop directory that cannot be read leaves My Computer alone.
      std::vector<ItemBytes> own;
      if (SUCCEEDED(ListFileSystem(DesktopDirectory(), contentFlags, &own)))
        children->insert(children->end(), own.begin(), own.end());
      return S_OK;
    }
    case NodeKind::MyComputer:
      if (contentFlags & SHCONTF_FOLDERS)
        for (char letter = 'A'; letter <= 'Z'; ++letter)
          if (qm::kernel::DriveFolder(letter)) children->push_back(DriveItem(letter));
      return S_OK;
    case NodeKind::Drive:
    case NodeKind::Folder: return ListFileSystem(*NodePath(folder), contentFlags, children);
    case NodeKind::File: break;
  }
  return E_INVALIDARG;
}

ULONG NodeAttributes(const Node& node, ULONG requested) {
  ULONG attributes = 0;
  switch (node.kind) {
    case NodeKind::Desktop:
    case NodeKind::MyComputer: attributes = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER; break;
    case NodeKind::Drive:
    case NodeKind::Folder: attributes = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_FILESYSTEM; break;
    case NodeKind::File: attributes = SFGAO_FILESYSTEM; break;
  }
  if (!node.items.empty()) {
    DWORD fileAttributes = ItemAttributes(AsItem(node.items.back()));
    if (fileAttributes & FILE_ATTRIBUTE_READONLY) attributes |= SFGAO_READONLY;
    if (fileAttributes & FILE_ATTRIBUTE_HIDDEN) attributes |= SFGAO_HIDDEN;
  }
  // Looked for only when asked: it means reading the folder.
  if ((requested & SFGAO_HASSUBFOLDER) && (node.kind == NodeKind::Drive || node.kind == NodeKind::Folder)) {
    ++subfolderProbes;
    if (qm::kernel::HasSubfolder(*NodePath(node), false)) attributes |= SFGAO_HASSUBFOLDER;
  }
  return attributes & requested;
}

std::string NodeName(const Node& node, DWORD nameFlags) {
  bool parsing = nameFlags & SHGDN_FORPARSING;
  switch (node.kind) {
    case NodeKind::Desktop: return parsing ? DesktopDirectory() : "Desktop";
    case NodeKind::MyComputer: return parsing ? kMyComputerParsingName : "My Computer";
    case NodeKind::Drive: {
      std::string letter = ItemName(AsItem(node.items.back()));
      if (parsing) return letter + ":\\";
      std::string label = VolumeOf(letter[0]).label;
      return (label.empty() ? "" : label + " ") + "(" + letter + ":)";
    }
    case NodeKind::Folder:
    case NodeKind::File:
      if (parsing && !(nameFlags & SHGDN_INFOLDER)) return NodePath(node).value_or("");
      return ItemName(AsItem(node.items.back()));
  }
  return "";
}

int CompareItems(const ItemBytes& first, const ItemBytes& second) {
  int rankFirst = Rank(first), rankSecond = Rank(second);
  if (rankFirst != rankSecond) return rankFirst < rankSecond ? -1 : 1;
  std::string a = ItemName(AsItem(first)), b = ItemName(AsItem(second));
  if (rankFirst == 1 || rankFirst == 2 || rankFirst == 3) {
    std::string upperA = qm::kernel::UpcaseName(a), upperB = qm::kernel::UpcaseName(b);
    if (upperA != upperB) return upperA < upperB ? -1 : 1;
  }
  // Names that differ only in case still differ, in a stable order.
  return a == b ? 0 : (a < b ? -1 : 1);
}

HRESULT ParseBelow(const Node& folder, const std::string& name, Node* found) {
  if (name.empty()) return E_INVALIDARG;
  switch (folder.kind) {
    case NodeKind::Desktop: {
      Node computer = Child(folder, NodeKind::MyComputer, MyComputerItem());
      if (StartsWithIgnoringCase(name, kMyComputerParsingName)) {
        std::string rest = name.substr(std::string(kMyComputerParsingName).size());
        if (rest.empty()) {
          *found = std::move(computer);
          return S_OK;
        }
        if (rest[0] != '\\') return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        return ParseBelow(computer, rest.substr(1), found);
      }
      if (IsDriveSpec(name)) return ParseBelow(computer, name, found);
      return ParseFileSystem(folder, name, found);
    }
    case NodeKind::MyComputer: {
      if (!IsDriveSpec(name)) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
      if (!qm::kernel::DriveFolder(name[0])) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
      Node drive = Child(folder, NodeKind::Drive, DriveItem(name[0]));
      return ParseFileSystem(drive, name.substr(2), found);
    }
    case NodeKind::Drive:
    case NodeKind::Folder: return ParseFileSystem(folder, name, found);
    case NodeKind::File: break;
  }
  return E_INVALIDARG;
}

NamespaceReads NamespaceReadCount() { return {folderListings.load(), subfolderProbes.load()}; }

}  // namespace qm::shell
