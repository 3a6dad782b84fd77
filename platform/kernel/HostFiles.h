// The host side of the file layer: folder listings, name lookup in host
// folders and path resolution, over the host boundary (host/). Only the
// kernel's own units include this.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/WinTypes.h"
#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileStatus.h"

namespace qm::kernel {

// Hands visit each name of an open host folder that a Windows path can
// name, in the folder's own order, with what the listing tells of its
// entry; false with errno set when the folder cannot be read.
bool VisitWindowsNames(const host::Descriptor& folder,
                       const std::function<void(std::string_view name, host::EntryType type)>& visit);

// The entry of a host folder that a Windows name names: that very name first,
// else one equal to it ignoring case, else the one whose short name it is.
// `folder` is the folder's status (links followed) when the caller has it;
// `entry`, when given, receives the entry's status with links followed if
// the lookup learnt it on the way, and is left empty otherwise;
// `indexAnswered`, when given, tells whether the folder's index answered,
// which it does only for a folder that is there.
std::optional<std::string> LookUpEntry(const std::string& hostFolder, const std::string& name,
                                       const host::FileStatus* folder = nullptr,
                                       std::optional<host::FileStatus>* entry = nullptr,
                                       bool* indexAnswered = nullptr);

std::string JoinHostPath(const std::string& folder, const std::string& name);

struct ResolvedPath {
  std::string host;
  bool isDriveRoot = false;
  DWORD error = 0;  // ERROR_SUCCESS when host holds the result
  // What the resolution learnt of host on the way, so that the call asking
  // need not ask the host again: its status with links followed, or that
  // its last name is not in its folder (a status query answers ENOENT).
  std::optional<host::FileStatus> status;
  bool missing = false;
  // The folder that holds the last name, where the resolution learnt that
  // the path names that folder now.
  std::optional<FileIdentity> folder;
};

// A Windows path as a host path; the error a Windows call would give for a
// path it cannot take. A path that exists as written costs one status query
// of the host, a new name in an existing folder two and a look at the
// folder's index (NameIndex.h).
ResolvedPath ResolvePath(std::string_view windowsPath);

// The host path a Windows path names if every name in it exists as
// written, without asking the host: what ResolvePath answers for such a
// path. A call that finds the entry there needs no resolution; one that
// does not resolves the path. The error as ResolvePath gives it.
ResolvedPath WrittenPath(std::string_view windowsPath);

// The status of a resolved path with links followed, as host::StatPath
// answers it, from what the resolution learnt where it can; false with
// errno set.
bool StatResolved(const ResolvedPath& path, host::FileStatus* status);
// The same without following a last link, as host::StatLink answers it.
bool StatResolvedLink(const ResolvedPath& path, host::FileStatus* status);

// The attribute word of an entry: directory, archive for files, read-only
// when its owner may not write, hidden for a leading dot.
DWORD AttributesOf(std::string_view name, const host::FileStatus& status);

FILETIME FileTimeFromHost(const std::timespec& time);

// Attributes, times and size of an entry as the Windows calls report them:
// a folder's size is 0.
WIN32_FILE_ATTRIBUTE_DATA AttributeDataOf(std::string_view name, const host::FileStatus& status);

}  // namespace qm::kernel
