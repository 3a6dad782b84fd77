// The host side of the file layer: folder listings, name lookup in host
// folders and path resolution, over the host boundary (host/). Only the
// kernel's own units include this.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/WinTypes.h"
#include "platform/kernel/host/FileStatus.h"

namespace qm::kernel {

// The names in a host folder that a Windows path can name, in the folder's
// own order; false with errno set when the folder cannot be read.
bool ListWindowsNames(const std::string& hostFolder, std::vector<std::string>* names);

// The entry of a host folder that a Windows name names: that very name first,
// else one equal to it ignoring case, else the one whose short name it is.
std::optional<std::string> LookUpEntry(const std::string& hostFolder, const std::string& name);

std::string JoinHostPath(const std::string& folder, const std::string& name);

struct ResolvedPath {
  std::string host;
  bool isDriveRoot = false;
  DWORD error = 0;  // ERROR_SUCCESS when host holds the result
};

// A Windows path as a host path; the error a Windows call would give for a
// path it cannot take.
ResolvedPath ResolvePath(std::string_view windowsPath);

// The attribute word of an entry: directory, archive for files, read-only
// when its owner may not write, hidden for a leading dot.
DWORD AttributesOf(std::string_view name, const host::FileStatus& status);

FILETIME FileTimeFromHost(const std::timespec& time);

// Attributes, times and size of an entry as the Windows calls report them:
// a folder's size is 0.
WIN32_FILE_ATTRIBUTE_DATA AttributeDataOf(std::string_view name, const host::FileStatus& status);

}  // namespace qm::kernel
