// The namespace as data: what an absolute identifier list names, what a
// folder holds, and the names, attributes and order of its items. The COM
// objects of Namespace.h and ContextMenu.h are thin layers over this.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/shell/IdList.h"
#include "platform/shell/Namespace.h"

namespace qm::shell {

enum class NodeKind { Desktop, MyComputer, Drive, Folder, File };

// An item of the namespace by its absolute list (from the desktop).
struct Node {
  NodeKind kind = NodeKind::Desktop;
  std::vector<ItemBytes> items;

  bool IsFolder() const { return kind != NodeKind::File; }
  bool IsFileSystem() const { return kind == NodeKind::Drive || kind == NodeKind::Folder || kind == NodeKind::File; }
};

// The node an absolute list names; nothing when an item cannot stand where
// it stands (a drive outside My Computer, anything below a file).
std::optional<Node> NodeOf(std::vector<ItemBytes> items);
// The node below a folder that a relative list (one level or more) names.
std::optional<Node> Descend(const Node& folder, LPCITEMIDLIST relative);

// The Windows path of a file-system node, and of the desktop its directory.
std::optional<std::string> NodePath(const Node& node);

// The items of a folder node (single items, not yet lists), in the order the
// folder holds them. HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when a
// file-system folder cannot be read.
HRESULT ListChildren(const Node& folder, DWORD contentFlags, std::vector<ItemBytes>* children);

// The SFGAO_* attributes of a node among those requested.
ULONG NodeAttributes(const Node& node, ULONG requested);

// The display name for SHGDN_* flags: the user's name (a drive's "(C:)",
// its label before it where it has one), or the parsing name.
std::string NodeName(const Node& node, DWORD nameFlags);

// The order of two items of one folder: negative, zero or positive.
int CompareItems(const ItemBytes& first, const ItemBytes& second);

// The node that a parsing name names below a folder; the item names are
// those found on the volume. A failure code when it names nothing.
HRESULT ParseBelow(const Node& folder, const std::string& name, Node* found);

// The objects over nodes, each with one reference for the caller: a folder,
// and the context menu of an item.
IShellFolder* NewFolderObject(Node folder);
HRESULT NewContextMenu(const Node& item, REFIID iid, void** object);

}  // namespace qm::shell
