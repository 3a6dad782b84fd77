#include "platform/shell/FileInfo.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"
#include "platform/shell/NamespaceNodes.h"
#include "platform/ui/ShellIcons.h"

namespace {

using qm::shell::Node;
using qm::shell::NodeKind;
using qm::ui::ShellIcon;

constexpr UINT kAnswered = SHGFI_SMALLICON | SHGFI_OPENICON | SHGFI_PIDL | SHGFI_TYPENAME | SHGFI_SYSICONINDEX;

std::optional<Node> ItemOf(LPCSTR path, bool isList) {
  if (!path) return std::nullopt;
  if (isList) {
    std::optional<std::vector<qm::shell::ItemBytes>> items =
        qm::shell::SplitIdList(reinterpret_cast<LPCITEMIDLIST>(path));
    return items ? qm::shell::NodeOf(std::move(*items)) : std::nullopt;
  }
  Node found;
  if (FAILED(qm::shell::ParseBelow(Node{}, path, &found))) return std::nullopt;
  return found;
}

ShellIcon IconOf(const Node& node, bool open) {
  switch (node.kind) {
    case NodeKind::Desktop: return ShellIcon::Desktop;
    case NodeKind::MyComputer: return ShellIcon::Computer;
    case NodeKind::Drive: return ShellIcon::FixedDrive;
    case NodeKind::Folder: return open ? ShellIcon::OpenFolder : ShellIcon::Folder;
    case NodeKind::File: break;
  }
  return ShellIcon::File;
}

std::string TypeNameOf(const Node& node) {
  switch (node.kind) {
    case NodeKind::Desktop:
    case NodeKind::MyComputer: return "System Folder";
    case NodeKind::Drive: return "Local Disk";
    case NodeKind::Folder: return "File Folder";
    case NodeKind::File: break;
  }
  std::string name = qm::shell::ItemName(qm::shell::AsItem(node.items.back()));
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return "File";
  std::string extension = qm::kernel::UpcaseName(name.substr(dot + 1));
  static const struct {
    const char* extension;
    const char* type;
  } kKnown[] = {
      {"TXT", "Text Document"}, {"EXE", "Application"}, {"LNK", "Shortcut"},
      {"ICO", "Icon"},          {"DLL", "Application Extension"}, {"INI", "Configuration Settings"},
      {"BMP", "Bitmap Image"},  {"HLP", "Help File"},
  };
  for (const auto& known : kKnown)
    if (extension == known.extension) return known.type;
  return extension + " File";
}

}  // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD, SHFILEINFOA* info, UINT infoSize, UINT flags) {
  if ((flags & ~kAnswered) || !info || infoSize < sizeof(SHFILEINFOA)) return 0;
  std::optional<Node> item = ItemOf(path, flags & SHGFI_PIDL);
  if (!item) return 0;
  DWORD_PTR answer = 1;
  if (flags & SHGFI_SYSICONINDEX) {
    // There are small icons only.
    if (!(flags & SHGFI_SMALLICON)) return 0;
    info->iIcon = static_cast<int>(IconOf(*item, flags & SHGFI_OPENICON));
    answer = reinterpret_cast<DWORD_PTR>(qm::ui::SmallShellImageList());
  }
  if (flags & SHGFI_TYPENAME) {
    std::string type = TypeNameOf(*item);
    std::size_t n = qm::kernel::Utf8BoundaryAtOrBefore(type, std::min(type.size(), sizeof info->szTypeName - 1));
    std::memcpy(info->szTypeName, type.data(), n);
    info->szTypeName[n] = '\0';
  }
  return answer;
}
