// Attributes, directories, deletion, free space and handle closing.
// Host-specific: POSIX file calls.
#include "platform/kernel/FileApi.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"

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

DWORD GetFileAttributesA(LPCSTR fileName) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return INVALID_FILE_ATTRIBUTES;
  HostStat status;
  if (!StatHostPath(path->host, &status)) {
    SetLastErrorFromErrno(errno, path->host);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(LastHostName(*path), status);
}

BOOL SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return FALSE;
  HostStat status;
  if (!StatHostPath(path->host, &status)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  // Only read-only has a host counterpart: the write bits. Hidden follows
  // the name, archive and system are not kept. A read-only folder still
  // takes new entries on Windows, so a folder keeps its write bits.
  mode_t mode = status.mode & 07777;
  bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) && !status.isDirectory;
  mode_t wanted = readOnly ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  if (wanted != mode && chmod(path->host.c_str(), wanted) != 0) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
  std::optional<ResolvedPath> path = Resolve(pathName);
  if (!path) return FALSE;
  if (mkdir(path->host.c_str(), 0777) != 0) {
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
  HostStat status;
  if (!StatHostPath(path->host, &status)) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  if (!status.isDirectory) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (!status.ownerMayWrite) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (rmdir(path->host.c_str()) != 0) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  return TRUE;
}

BOOL DeleteFileA(LPCSTR fileName) {
  std::optional<ResolvedPath> path = Resolve(fileName);
  if (!path) return FALSE;
  struct stat link;
  if (lstat(path->host.c_str(), &link) != 0) {
    SetLastErrorFromErrno(errno, path->host);
    return FALSE;
  }
  if (!S_ISLNK(link.st_mode)) {
    // Windows refuses to delete a read-only file and any directory; the host
    // would do both.
    if (S_ISDIR(link.st_mode) || !(link.st_mode & S_IWUSR)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  if (unlink(path->host.c_str()) != 0) {
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
  struct statvfs info;
  if (statvfs(folder->c_str(), &info) != 0) {
    SetLastErrorFromErrno(errno, *folder);
    return FALSE;
  }
  constexpr DWORD kSectorBytes = 512;
  std::uint64_t blockBytes = info.f_frsize ? info.f_frsize : info.f_bsize;
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
                                      : clusters(info.f_bavail);
  if (totalNumberOfClusters) *totalNumberOfClusters = clusters(info.f_blocks);
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
