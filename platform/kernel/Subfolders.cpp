#include "platform/kernel/Subfolders.h"

#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/host/Entries.h"

namespace qm::kernel {

bool HasSubfolder(const std::string& windowsPath, bool includeHidden) {
  ResolvedPath folder = ResolvePath(windowsPath);
  if (folder.error != ERROR_SUCCESS) return false;
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
