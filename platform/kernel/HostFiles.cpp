// Windows names over host folders: listing, lookup, path resolution.
#include "platform/kernel/HostFiles.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameIndex.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/Entries.h"

namespace qm::kernel {

bool VisitWindowsNames(const host::Descriptor& folder,
                       const std::function<void(std::string_view name, host::EntryType type)>& visit) {
  return host::VisitOpenFolder(folder, [&](const char* name, host::EntryType type) {
    if (IsWindowsName(name)) visit(name, type);
    return true;
  });
}

namespace {

// A status as StatPath would give it for a path whose own entry StatLink
// described; nothing when they may differ (a link, or a trailing separator
// that only a folder takes).
std::optional<host::FileStatus> FollowedStatus(const host::FileStatus& entry, bool trailingSeparator) {
  if (entry.isSymbolicLink || (trailingSeparator && !entry.isDirectory)) return std::nullopt;
  return entry;
}

const host::FileStatus* FolderStatus(const std::optional<host::FileStatus>& status) {
  return status && status->isDirectory ? &*status : nullptr;
}

}  // namespace

std::optional<std::string> LookUpEntry(const std::string& hostFolder, const std::string& name,
                                       const host::FileStatus* folder, std::optional<host::FileStatus>* entry,
                                       bool* indexAnswered) {
  IndexAnswer indexed = AskKnownIndex(hostFolder, name, folder);
  if (indexAnswered) *indexAnswered = indexed.answered;
  if (indexed.answered) return indexed.entry;
  host::FileStatus status;
  if (host::StatLink(JoinHostPath(hostFolder, name), &status)) {
    if (entry) *entry = FollowedStatus(status, false);
    return name;
  }
  if (errno != ENOENT) return std::nullopt;
  return FindEntryIgnoringCase(hostFolder, name, folder);
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

namespace {

// A path on its drive as written: the drive's folder, then each name as
// it stands, and where each name ends. False, with the error a Windows
// call would give, for a path it cannot take.
bool WriteOnDrive(std::string_view windowsPath, ParsedPath* parsed, std::string* folder, std::string* written,
                  std::vector<std::size_t>* ends, DWORD* error) {
  *parsed = ParseWindowsPath(windowsPath);
  if (parsed->error != ERROR_SUCCESS) {
    *error = parsed->error;
    return false;
  }
  std::optional<std::string> driveFolder = DriveFolder(parsed->path.drive);
  if (!driveFolder) {
    *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  *folder = std::move(*driveFolder);
  // Room for the whole path at once: no name needs it to grow.
  written->reserve(folder->size() + windowsPath.size());
  *written = *folder;
  if (ends) ends->reserve(parsed->path.components.size());
  // Joined in place, as JoinHostPath joins them.
  for (const std::string& component : parsed->path.components) {
    if (written->empty() || written->back() != '/') written->push_back('/');
    written->append(component);
    if (ends) ends->push_back(written->size());
  }
  return true;
}

}  // namespace

ResolvedPath WrittenPath(std::string_view windowsPath) {
  ResolvedPath resolved;
  ParsedPath parsed;
  std::string folder;
  if (!WriteOnDrive(windowsPath, &parsed, &folder, &resolved.host, nullptr, &resolved.error)) return resolved;
  if (parsed.path.trailingSeparator && resolved.host.back() != '/') resolved.host += '/';
  resolved.isDriveRoot = parsed.path.components.empty();
  return resolved;
}

ResolvedPath ResolvePath(std::string_view windowsPath) {
  ResolvedPath resolved;
  ParsedPath parsed;
  std::string driveFolder;
  std::string written;
  std::vector<std::size_t> ends;
  if (!WriteOnDrive(windowsPath, &parsed, &driveFolder, &written, &ends, &resolved.error)) return resolved;
  const std::string* folder = &driveFolder;
  const std::vector<std::string>& components = parsed.path.components;
  const bool trailingSeparator = parsed.path.trailingSeparator;
  resolved.isDriveRoot = components.empty();

  // A new name in a folder whose index is at hand: the index answers, and
  // the status query that would miss is spared.
  if (!components.empty()) {
    const std::string parent = components.size() > 1 ? written.substr(0, ends[components.size() - 2]) : *folder;
    IndexAnswer indexed = AskKnownIndex(parent, components.back(), nullptr, folder);
    if (indexed.answered) {
      // A new name, or one there as written, is the path as written.
      const bool asWritten = !indexed.entry || *indexed.entry == components.back();
      resolved.host = asWritten ? std::move(written) : JoinHostPath(parent, *indexed.entry);
      if (trailingSeparator && resolved.host.back() != '/') resolved.host += '/';
      resolved.missing = !indexed.entry;
      resolved.folder = indexed.folder;
      return resolved;
    }
  }

  // The longest start of the path that exists as written, found from the
  // end: a path that exists costs one query, a new name in an existing
  // folder two. Everything before such a start exists as written too, so
  // this is where a lookup name by name would first miss.
  std::size_t known = components.size();
  host::FileStatus status;
  int missErrno = 0;
  while (known > 0) {
    bool exists = known == components.size() ? host::StatLink(written, &status)
                                             : host::StatLink(written.substr(0, ends[known - 1]), &status);
    if (exists) break;
    missErrno = errno;
    --known;
  }
  std::optional<host::FileStatus> found;
  if (known > 0) found = FollowedStatus(status, trailingSeparator && known == components.size());

  std::string host = known > 0 ? written.substr(0, ends[known - 1]) : *folder;
  bool lookingUp = true;
  for (std::size_t i = known; i < components.size(); ++i) {
    const std::string& component = components[i];
    std::optional<std::string> entry;
    if (lookingUp) {
      int exactErrno = missErrno;
      if (i > known) {
        // Below a name found ignoring case, each name is tried as written first.
        if (host::StatLink(JoinHostPath(host, component), &status)) {
          entry = component;
          found = FollowedStatus(status, trailingSeparator && i + 1 == components.size());
        } else {
          exactErrno = errno;
        }
      }
      if (!entry && exactErrno == ENOENT) {
        entry = FindEntryIgnoringCase(host, component, FolderStatus(found));
        found.reset();
      }
      // Below a name that does not exist nothing can be found either.
      if (!entry) {
        lookingUp = false;
        resolved.missing = i + 1 == components.size() && exactErrno == ENOENT;
      }
    }
    host = JoinHostPath(host, entry ? *entry : component);
  }
  if (trailingSeparator && host.back() != '/') host += '/';
  resolved.host = std::move(host);
  if (!resolved.missing && lookingUp) resolved.status = found;
  return resolved;
}

bool StatResolved(const ResolvedPath& path, host::FileStatus* status) {
  if (path.status) {
    *status = *path.status;
    return true;
  }
  if (path.missing) {
    errno = ENOENT;
    return false;
  }
  return host::StatPath(path.host, status);
}

bool StatResolvedLink(const ResolvedPath& path, host::FileStatus* status) {
  // A known status is never a link's.
  if (path.status || path.missing) return StatResolved(path, status);
  return host::StatLink(path.host, status);
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
