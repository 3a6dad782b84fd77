// The C runtime's file calls over the drive map: host stdio once a path
// is resolved.
#include "platform/kernel/Crt.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/host/FileStatus.h"
#include "platform/kernel/host/Stream.h"

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
  // Opened without waiting, so that a FIFO or a device under a file's name
  // cannot hold the program up; a Windows volume holds only files and
  // folders, so anything else is refused as a folder is.
  host::Descriptor opened = host::OpenForStream(path.host, mode);
  std::FILE* file = nullptr;
  if (opened) {
    host::FileStatus what;
    if (!host::StatDescriptor(opened, &what)) {
      opened.Reset();
    } else if (!what.isRegularFile) {
      SetLastError(ERROR_ACCESS_DENIED);
      errno = EACCES;
      return nullptr;
    } else {
      file = host::StreamFromDescriptor(std::move(opened), mode);
    }
  }
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
