// The C runtime's file calls over the drive map: host stdio once a path
// is resolved.
#include "platform/kernel/Crt.h"

#include <cerrno>
#include <cstring>

#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/host/FileStatus.h"

using namespace qm::kernel;

std::FILE* CrtOpenFile(LPCSTR windowsPath, LPCSTR mode) {
  if (!windowsPath || !mode || !*mode) {
    errno = EINVAL;
    return nullptr;
  }
  ResolvedPath path = ResolvePath(windowsPath);
  if (path.error != ERROR_SUCCESS) {
    SetLastError(path.error);
    errno = path.error == ERROR_INVALID_NAME ? EINVAL : ENOENT;
    return nullptr;
  }
  bool writes = std::strpbrk(mode, "wa+") != nullptr;
  host::FileStatus status;
  bool exists = StatResolved(path, &status);
  // The runtime cannot open a directory as a file, nor write to a read-only
  // file, whoever runs it.
  if (exists && (status.isDirectory || (writes && !status.ownerMayWrite))) {
    SetLastError(ERROR_ACCESS_DENIED);
    errno = EACCES;
    return nullptr;
  }
  std::FILE* file = std::fopen(path.host.c_str(), mode);
  if (!file) {
    int hostErrno = errno;
    SetLastErrorFromErrno(hostErrno, path.host);
    errno = hostErrno == EISDIR ? EACCES : hostErrno;
  }
  return file;
}

int CrtStatFile(LPCSTR windowsPath, CrtStat* result) {
  if (!windowsPath || !result) {
    errno = EINVAL;
    return -1;
  }
  // The runtime looks the name up with a directory search, so a wildcard or
  // a trailing backslash (except at a drive's root) is never found.
  std::string_view text(windowsPath);
  bool isRoot = text.size() == 3 && text[1] == ':';
  if (HasWildcards(text) || (!isRoot && !text.empty() && (text.back() == '\\' || text.back() == '/'))) {
    errno = ENOENT;
    return -1;
  }
  ResolvedPath path = ResolvePath(windowsPath);
  host::FileStatus status;
  if (path.error != ERROR_SUCCESS || !StatResolved(path, &status)) {
    errno = ENOENT;
    return -1;
  }
  result->size = static_cast<std::uint32_t>(status.size & 0xFFFFFFFF);
  result->isDirectory = status.isDirectory;
  result->isReadOnly = !status.ownerMayWrite;
  return 0;
}
