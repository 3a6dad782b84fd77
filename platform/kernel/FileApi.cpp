// Attributes, directories, deletion, free space and handle closing, over
// the host boundary (host/).
#include "platform/kernel/FileApi.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileStatus.h"

namespace {

using namespace qm::kernel;

// Resolves a path argument, or sets the last error and answers nothing.
std::optional<ResolvedPath> Resolve(LPCSTR windowsPath) {
  if (!windowsPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  ResolvedPath resolved = ResolvePath(windowsPath);
  if (resolved.error != ERROR_SUCCESS) {
    SetLastError(resolved.error);
    return std::nullopt;
  }
  return resolved;
}

std::string LastHostName(const ResolvedPath& path) {
  if (path.isDriveRoot) return std::string();
  std::string host = path.host;
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return host.substr(host.rfind('/') + 1);
}

}  // namespace

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const ParsedPath parsed = ParseWindowsPath(fileName);
  if (parsed.error != ERROR_SUCCESS || parsed.path.drive == 0) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  std::string full = FormatWindowsPath(parsed.path);
  full[0] = fileName[0];  // the drive letter as it was written
  const bool endsInSeparator = parsed.path.trailingSeparator && !parsed.path.components.empty();
  if (endsInSeparator) full += '\\';
  if (!buffer || bufferLength <= full.size()) return static_cast<DWORD>(full.size() + 1);
  std::memcpy(buffer, full.c_str(), full.size() + 1);
  if (filePart)
    *filePart = endsInSeparator || parsed.path.components.empty() ? nullptr : buffer + full.rfind('\\') + 1;
  return static_cast<DWORD>(full.size());
}

// The status of the entry a path argument names, or the last error set.
std::optional<host::FileStatus> StatArgument(const ResolvedPath& path) {
  host::FileStatus status;
  if (!StatResolved(path, &status)) {
    SetLastErrorFromErrno(errno, path.host);
    return std::nullopt;
  }
  return status;
}

DWORD GetFileAttributesA(LPCSTR fileName) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return INVALID_FILE_ATTRIBUTES;
  std::optional<host::FileStatus> status = StatArgument(*path);
  if (!status) return INVALID_FILE_ATTRIBUTES;
  return AttributesOf(LastHostName(*path), *status);
}

BOOL GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID fileInformation) {
  if (infoLevel != GetFileExInfoStandard || !fileInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return FALSE;
  std::optional<host::FileStatus> status = StatArgument(*path);
  if (!status) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data = AttributeDataOf(LastHostName(*path), *status);
  std::memcpy(fileInformation, &data, sizeof data);
  return TRUE;
}

BOOL SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return FALSE;
  host::FileStatus entry;
  if (!StatResolvedLink(*path, &entry)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  // The attributes of a link are the link's own, and a host link has no
  // permission bits: nothing changes, least of all the file it points to,
  // which may lie anywhere.
  if (entry.isSymbolicLink) return TRUE;
  std::optional<host::FileStatus> status = entry;
  // Only read-only has a host counterpart: the write bits. Hidden follows
  // the name, archive and system are not kept. A read-only folder still
  // takes new entries on Windows, so a folder keeps its write bits.
  unsigned mode = status->mode & 07777;
  bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) && !status->isDirectory;
  unsigned wanted = readOnly ? (mode & ~0222u) : (mode | 0200u);
  if (wanted != mode && !host::SetModeBits(path->host, wanted)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

namespace qm::kernel {

std::optional<FileIdentity> IdentifyFile(LPCSTR fileName) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return std::nullopt;
  std::optional<host::FileStatus> status = StatArgument(*path);
  if (!status) return std::nullopt;
  return FileIdentity{status->device, status->inode};
}

}  // namespace qm::kernel

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
  std::optional<ResolvedPath> path = Resolve(pathName);
  if (!path) return FALSE;
  if (!host::MakeFolder(path->host)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
  std::optional<ResolvedPath> path = Resolve(pathName);
  if (!path) return FALSE;
  if (path->isDriveRoot) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::optional<host::FileStatus> status = StatArgument(*path);
  if (!status) return FALSE;
  if (!status->isDirectory) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (!status->ownerMayWrite) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!host::RemoveFolder(path->host)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return FALSE;
  host::FileStatus entry;
  if (!StatResolvedLink(*path, &entry)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  if (!entry.isSymbolicLink) {
    // Windows refuses to delete a read-only file and any directory; the host
    // would do both.
    if (entry.isDirectory || !entry.ownerMayWrite) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  if (!host::RemoveEntry(path->host)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD numberOfFreeClusters, LPDWORD totalNumberOfClusters) {
  std::string root = rootPathName ? rootPathName : "C:\\";
  bool isRoot = root.size() == 3 && root[1] == ':' && (root[2] == '\\' || root[2] == '/') &&
                ((root[0] >= 'A' && root[0] <= 'Z') || (root[0] >= 'a' && root[0] <= 'z'));
  if (!isRoot) {
    SetLastError(ERROR_INVALID_NAME);
    return FALSE;
  }
  std::optional<std::string> folder = DriveFolder(root[0]);
  if (!folder) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  host::FreeSpace space;
  if (!host::QueryFreeSpace(*folder, &space)) {
    SetLastErrorFromErrno(errno, *folder);
    return FALSE;
  }
  constexpr DWORD kSectorBytes = 512;
  std::uint64_t blockBytes = space.blockBytes;
  std::uint64_t sectors = std::max<std::uint64_t>(1, blockBytes / kSectorBytes);
  std::uint64_t clusterBytes = sectors * kSectorBytes;
  auto clusters = [&](std::uint64_t blocks) {
    return static_cast<DWORD>(std::min<std::uint64_t>(blocks * blockBytes / clusterBytes, 0xFFFFFFFF));
  };
  if (sectorsPerCluster) *sectorsPerCluster = static_cast<DWORD>(sectors);
  if (bytesPerSector) *bytesPerSector = kSectorBytes;
  std::optional<ULONGLONG> fixedFree = DiskFreeSpaceOverride(root[0]);
  if (numberOfFreeClusters)
    *numberOfFreeClusters = fixedFree ? static_cast<DWORD>(std::min<std::uint64_t>(*fixedFree / clusterBytes, 0xFFFFFFFF))
                                      : clusters(space.availableBlocks);
  if (totalNumberOfClusters) *totalNumberOfClusters = clusters(space.totalBlocks);
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  // The current process's pseudo-handle closes without effect.
  if (object == INVALID_HANDLE_VALUE) return TRUE;
  if (!CloseObject(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
