#include "platform/kernel/Subfolders.h"

#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/host/Entries.h"

namespace qm::kernel {
namespace {

// Whether the host folder is, by a link or a mount, one of the folders its
// own path runs through: what lies below it repeats without end.
bool LeadsBackUp(const std::string& hostFolder) {
  host::FileStatus self;
  if (!host::StatPath(hostFolder, &self)) return false;
  std::string above = hostFolder;
  while (above.size() > 1 && above.back() == '/') above.pop_back();
  while (above.size() > 1) {
    const std::size_t slash = above.rfind('/');
    if (slash == std::string::npos) return false;
    above.resize(slash == 0 ? 1 : slash);
    host::FileStatus status;
    if (host::StatPath(above, &status) && status.device == self.device && status.inode == self.inode) return true;
  }
  return false;
}

}  // namespace

bool HasSubfolder(const std::string& windowsPath, bool includeHidden) {
  ResolvedPath folder = ResolvePath(windowsPath);
  if (folder.error != ERROR_SUCCESS) return false;
  // Shown without subfolders, so that nothing opens it level after level
  // for ever (the tree's "expand everything" would).
  if (LeadsBackUp(folder.host)) return false;
  bool found = false;
  host::VisitFolder(folder.host, [&](const char* name, host::EntryType type) {
    if (!host::MayBeFolder(type) || !IsWindowsName(name)) return true;
    host::FileStatus status;
    if (type == host::EntryType::Directory) status.isDirectory = true;
    else if (!host::StatPath(JoinHostPath(folder.host, name), &status)) return true;
    if (!status.isDirectory) return true;
    found = includeHidden || !(AttributesOf(name, status) & FILE_ATTRIBUTE_HIDDEN);
    return !found;
  });
  return found;
}

}  // namespace qm::kernel
