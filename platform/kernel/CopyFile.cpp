// CopyFileA. The copy is written beside the destination and takes its name
// only when it is complete (host/AtomicWrite), so a copy that fails never
// leaves a half-written file where a good one was; its bytes move by the
// host's fast paths (host/CopyContents).
#include <cerrno>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/CopyContents.h"
#include "platform/kernel/host/Entries.h"
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

// File systems that cannot share extents say so for every file: copies
// from one device into one folder ask once.
class CloneRefusals {
 public:
  bool Known(std::uint64_t sourceDevice, const std::string& targetFolder) {
    std::lock_guard lock(mutex);
    return refused.count({sourceDevice, targetFolder}) > 0;
  }
  void Note(std::uint64_t sourceDevice, const std::string& targetFolder) {
    std::lock_guard lock(mutex);
    if (refused.size() >= 256) refused.clear();
    refused.insert({sourceDevice, targetFolder});
  }

 private:
  std::mutex mutex;
  std::set<std::pair<std::uint64_t, std::string>> refused;
};

bool MoveContents(const host::Descriptor& in, const host::FileStatus& source, const host::Descriptor& out,
                  const std::string& target) {
  static CloneRefusals* refusals = new CloneRefusals;  // used until the very end of the process
  const std::string folder = target.substr(0, target.rfind('/') + 1);
  if (!refusals->Known(source.device, folder)) {
    if (host::CloneContents(in, out)) return true;
    if (errno == EOPNOTSUPP || errno == ENOTTY || errno == EXDEV) refusals->Note(source.device, folder);
  }
  return host::CopyContents(in, out, source.size);
}

// The folder copies go into, held open while they do: each new file is
// made and named relative to it, not by a walk of the folder's whole path
// twice a file. Only for a target whose resolution learnt which folder its
// path names now; the open folder is checked to be that one. Held open, its
// identity cannot pass to another folder. One per thread, as a copy's
// target folder is held from its start to its commit.
class TargetFolder {
 public:
  const host::Descriptor* For(const ResolvedPath& target) {
    if (!target.folder) return nullptr;
    if (dir && held == *target.folder) return &dir;
    dir = host::OpenFolder(target.host.substr(0, target.host.rfind('/') + 1));
    host::FileStatus status;
    if (!dir || !host::StatDescriptor(dir, &status) || FileIdentity{status.device, status.inode} != *target.folder) {
      dir.Reset();
      return nullptr;
    }
    held = *target.folder;
    return &dir;
  }

 private:
  host::Descriptor dir;
  FileIdentity held;  // of dir, while it is open
};

}  // namespace

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
  if (!existingFileName || !newFileName) return Fail(ERROR_INVALID_PARAMETER);
  // A source that exists as written opens at once; any other is resolved
  // name by name first.
  ResolvedPath source = WrittenPath(existingFileName);
  if (source.error != ERROR_SUCCESS) return Fail(source.error);
  host::Descriptor in = host::OpenForReading(source.host);
  if (!in) {
    source = ResolvePath(existingFileName);
    if (source.error != ERROR_SUCCESS) return Fail(source.error);
  }
  ResolvedPath target = ResolvePath(newFileName);
  if (target.error != ERROR_SUCCESS) return Fail(target.error);
  if (target.isDriveRoot || target.host.back() == '/') return Fail(ERROR_INVALID_NAME);

  if (!in) in = host::OpenForReading(source.host);
  if (!in) return FailFromErrno(source.host);
  host::FileStatus sourceStatus;
  if (!host::StatDescriptor(in, &sourceStatus)) return FailFromErrno(source.host);
  // A Windows volume holds only files and folders: a FIFO or a device under
  // a file's name (a link to /dev/zero on a medium) is refused as a folder
  // is, instead of read without end.
  if (!sourceStatus.isRegularFile) return Fail(ERROR_ACCESS_DENIED);

  // A link at the destination is replaced by the copy, never written
  // through: what it points to, wherever that is, stays as it is.
  host::FileStatus targetStatus;
  if (StatResolvedLink(target, &targetStatus)) {
    if (targetStatus.device == sourceStatus.device && targetStatus.inode == sourceStatus.inode)
      return Fail(ERROR_SHARING_VIOLATION);
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    // A read-only destination stays as it is until its owner clears the bit.
    if (!targetStatus.isSymbolicLink && (targetStatus.isDirectory || !targetStatus.ownerMayWrite))
      return Fail(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return FailFromErrno(target.host);
  }

  static thread_local TargetFolder targetFolder;
  host::ReplacementFile copy;
  if (!copy.Open(target.host, sourceStatus.mode & 0777, targetFolder.For(target))) return FailFromErrno(target.host);
  if (!MoveContents(in, sourceStatus, copy.File(), target.host)) return FailFromErrno(target.host);
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
