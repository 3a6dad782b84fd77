// Windows names over host folders: listing, lookup, path resolution.
#include "platform/kernel/HostFiles.h"

#include <algorithm>
#include <cerrno>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/ShortName.h"
#include "platform/kernel/host/Entries.h"

namespace qm::kernel {

bool ListWindowsNames(const std::string& hostFolder, std::vector<std::string>* names) {
  if (!host::ListFolder(hostFolder, names)) return false;
  names->erase(std::remove_if(names->begin(), names->end(), [](const std::string& name) { return !IsWindowsName(name); }),
               names->end());
  return true;
}

std::optional<std::string> LookUpEntry(const std::string& hostFolder, const std::string& name) {
  host::FileStatus status;
  if (host::StatLink(JoinHostPath(hostFolder, name), &status)) return name;
  if (errno != ENOENT) return std::nullopt;
  std::vector<std::string> names;
  if (!ListWindowsNames(hostFolder, &names)) return std::nullopt;
  // Two host names may differ only in case; the smallest wins, every time.
  const std::string* best = nullptr;
  for (const std::string& candidate : names)
    if (NamesEqualIgnoringCase(candidate, name) && (!best || candidate < *best)) best = &candidate;
  if (best) return *best;
  if (name.find('~') == std::string::npos || !IsShortName(name)) return std::nullopt;
  std::vector<std::string> shortNames = AssignShortNames(names);
  std::string wanted = UpcaseName(name);
  for (size_t i = 0; i < names.size(); ++i)
    if (shortNames[i] == wanted) return names[i];
  return std::nullopt;
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

ResolvedPath ResolvePath(std::string_view windowsPath) {
  ResolvedPath resolved;
  ParsedPath parsed = ParseWindowsPath(windowsPath);
  if (parsed.error != ERROR_SUCCESS) {
    resolved.error = parsed.error;
    return resolved;
  }
  std::optional<std::string> folder = DriveFolder(parsed.path.drive);
  if (!folder) {
    resolved.error = ERROR_PATH_NOT_FOUND;
    return resolved;
  }
  std::string host = *folder;
  bool lookingUp = true;
  for (const std::string& component : parsed.path.components) {
    std::optional<std::string> entry;
    if (lookingUp) entry = LookUpEntry(host, component);
    // Below a name that does not exist nothing can be found either.
    if (!entry) lookingUp = false;
    host = JoinHostPath(host, entry ? *entry : component);
  }
  if (parsed.path.trailingSeparator && host.back() != '/') host += '/';
  resolved.host = std::move(host);
  resolved.isDriveRoot = parsed.path.components.empty();
  return resolved;
}

DWORD AttributesOf(std::string_view name, const host::FileStatus& status) {
  DWORD attributes = status.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (!status.ownerMayWrite) attributes |= FILE_ATTRIBUTE_READONLY;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

FILETIME FileTimeFromHost(const std::timespec& time) {
  // 100-ns intervals since 1601-01-01; the host counts seconds since 1970.
  constexpr std::int64_t kEpochDifference = 11644473600LL;
  std::int64_t ticks = (static_cast<std::int64_t>(time.tv_sec) + kEpochDifference) * 10000000LL + time.tv_nsec / 100;
  if (ticks < 0) ticks = 0;
  FILETIME fileTime;
  fileTime.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
  fileTime.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
  return fileTime;
}

WIN32_FILE_ATTRIBUTE_DATA AttributeDataOf(std::string_view name, const host::FileStatus& status) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  data.dwFileAttributes = AttributesOf(name, status);
  data.ftCreationTime = FileTimeFromHost(status.creationTime);
  data.ftLastAccessTime = FileTimeFromHost(status.accessTime);
  data.ftLastWriteTime = FileTimeFromHost(status.writeTime);
  std::uint64_t size = status.isDirectory ? 0 : status.size;
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
  return data;
}

std::optional<std::string> ResolveWindowsPath(const std::string& windowsPath) {
  ResolvedPath resolved = ResolvePath(windowsPath);
  if (resolved.error != ERROR_SUCCESS) return std::nullopt;
  return resolved.host;
}

}  // namespace qm::kernel
