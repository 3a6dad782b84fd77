// CopyFileA. The copy is written beside the destination and takes its name
// only when it is complete (host/AtomicWrite), so a copy that fails never
// leaves a half-written file where a good one was; its bytes move by the
// host's fast paths (host/CopyContents).
#include <cerrno>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/CopyContents.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/FileStatus.h"

namespace {

using namespace qm::kernel;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL FailFromErrno(const std::string& hostPath) {
  SetLastErrorFromErrno(errno, hostPath);
  return FALSE;
}

}  // namespace

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
  if (!existingFileName || !newFileName) return Fail(ERROR_INVALID_PARAMETER);
  ResolvedPath source = ResolvePath(existingFileName);
  if (source.error != ERROR_SUCCESS) return Fail(source.error);
  ResolvedPath target = ResolvePath(newFileName);
  if (target.error != ERROR_SUCCESS) return Fail(target.error);
  if (target.isDriveRoot || target.host.back() == '/') return Fail(ERROR_INVALID_NAME);

  host::Descriptor in = host::OpenForReading(source.host);
  if (!in) return FailFromErrno(source.host);
  host::FileStatus sourceStatus;
  if (!host::StatDescriptor(in, &sourceStatus)) return FailFromErrno(source.host);
  if (sourceStatus.isDirectory) return Fail(ERROR_ACCESS_DENIED);

  host::FileStatus targetStatus;
  if (host::StatPath(target.host, &targetStatus)) {
    if (targetStatus.device == sourceStatus.device && targetStatus.inode == sourceStatus.inode)
      return Fail(ERROR_SHARING_VIOLATION);
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    // A read-only destination stays as it is until its owner clears the bit.
    if (targetStatus.isDirectory || !targetStatus.ownerMayWrite) return Fail(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return FailFromErrno(target.host);
  }

  host::ReplacementFile copy;
  if (!copy.Open(target.host)) return FailFromErrno(target.host);
  if (!host::CopyContents(in, copy.File(), sourceStatus.size))
    return FailFromErrno(target.host);
  // The copy carries the source's permissions (and so its read-only
  // attribute) and its last-write time.
  if (!copy.SetMode(sourceStatus.mode & 0777) || !copy.SetWriteTime(sourceStatus.writeTime))
    return FailFromErrno(target.host);
  using Install = host::ReplacementFile::Install;
  if (!copy.Commit(failIfExists ? Install::KeepExisting : Install::Replace, host::ReplacementFile::Flush::Lazily)) {
    if (errno == EEXIST) return Fail(ERROR_FILE_EXISTS);
    return FailFromErrno(target.host);
  }
  return TRUE;
}
