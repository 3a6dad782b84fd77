// CopyFileA. Host-specific: Linux copy paths (reflink, copy_file_range) and
// unnamed temporary files.
//
// The copy is written to a file of its own in the destination's folder and
// takes the destination's name only when it is complete, so a copy that
// fails never leaves a half-written file where a good one was.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/Retry.h"

namespace {

using namespace qm::kernel;
using qm::kernel::host::Descriptor;

// Contents from in to out: shared extents where the file system has them,
// else an in-kernel copy, else through a buffer. False with errno set.
bool CopyContents(int in, const Descriptor& outFile, std::uint64_t expectedSize) {
  int out = outFile.Get();
  if (ioctl(out, FICLONE, in) == 0) return true;
  std::uint64_t copied = 0;
  for (;;) {
    ssize_t count = host::RetryOnSignal([&] { return copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0); });
    if (count > 0) {
      copied += static_cast<std::uint64_t>(count);
      continue;
    }
    if (count == 0 && (copied > 0 || expectedSize == 0)) return true;
    // Some file systems answer 0 or refuse before copying anything; the
    // buffered copy below serves them.
    if (copied == 0 && (count == 0 || errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                        errno == EOPNOTSUPP || errno == EBADF || errno == EPERM))
      break;
    return false;
  }
  std::vector<char> buffer(1 << 20);
  for (;;) {
    ssize_t count = host::RetryOnSignal([&] { return read(in, buffer.data(), buffer.size()); });
    if (count == 0) return true;
    if (count < 0) return false;
    if (!host::WriteAll(outFile, std::string_view(buffer.data(), static_cast<size_t>(count)))) return false;
  }
}

std::string FolderOf(const std::string& hostPath) {
  size_t slash = hostPath.rfind('/');
  return slash == 0 ? std::string("/") : hostPath.substr(0, slash);
}

std::string UniqueName(const std::string& folder, const std::string& name) {
  static unsigned counter = 0;
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".~%d-%u.tmp", static_cast<int>(getpid()),
                __atomic_add_fetch(&counter, 1, __ATOMIC_RELAXED));
  // Short enough for the host's name limit whatever the name's length.
  return JoinHostPath(folder, "." + name.substr(0, 200) + suffix);
}

// A file being written in the destination's folder: unnamed while the
// file system allows it, so nothing is left behind even by a crash.
struct TemporaryFile {
  Descriptor fd;
  std::string namedPath;  // empty while unnamed

  ~TemporaryFile() {
    if (!namedPath.empty()) unlink(namedPath.c_str());
  }

  bool Create(const std::string& folder, const std::string& name) {
    fd.Reset(open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd.Get() >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = UniqueName(folder, name);
      int created = open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
      if (created >= 0) {
        fd.Reset(created);
        namedPath = candidate;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  // Gives the unnamed file a name of its own in the folder.
  bool Name(const std::string& folder, const std::string& name) {
    if (!namedPath.empty()) return true;
    std::string candidate = UniqueName(folder, name);
    std::string self = "/proc/self/fd/" + std::to_string(fd.Get());
    if (linkat(fd.Get(), "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) != 0 &&
        linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) != 0)
      return false;
    namedPath = candidate;
    return true;
  }

  // Puts the finished file at target: over what is there, or failing with
  // EEXIST when something is.
  bool Install(const std::string& target, bool replace) {
    if (replace) {
      if (rename(namedPath.c_str(), target.c_str()) != 0) return false;
    } else {
      if (link(namedPath.c_str(), target.c_str()) == 0) {
        unlink(namedPath.c_str());
      } else {
        // A file system without hard links: check, then rename.
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return false;
        struct stat existing;
        if (lstat(target.c_str(), &existing) == 0) {
          errno = EEXIST;
          return false;
        }
        if (rename(namedPath.c_str(), target.c_str()) != 0) return false;
      }
    }
    namedPath.clear();
    return true;
  }
};

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

  Descriptor in(open(source.host.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) return FailFromErrno(source.host);
  struct stat sourceStatus;
  if (fstat(in.Get(), &sourceStatus) != 0) return FailFromErrno(source.host);
  if (S_ISDIR(sourceStatus.st_mode)) return Fail(ERROR_ACCESS_DENIED);

  struct stat targetStatus;
  if (stat(target.host.c_str(), &targetStatus) == 0) {
    if (targetStatus.st_dev == sourceStatus.st_dev && targetStatus.st_ino == sourceStatus.st_ino)
      return Fail(ERROR_SHARING_VIOLATION);
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    // A read-only destination stays as it is until its owner clears the bit.
    if (S_ISDIR(targetStatus.st_mode) || !(targetStatus.st_mode & S_IWUSR)) return Fail(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return FailFromErrno(target.host);
  }

  std::string folder = FolderOf(target.host);
  std::string name = target.host.substr(target.host.rfind('/') + 1);
  TemporaryFile copy;
  if (!copy.Create(folder, name)) return FailFromErrno(target.host);
  if (!CopyContents(in.Get(), copy.fd, static_cast<std::uint64_t>(sourceStatus.st_size)))
    return FailFromErrno(target.host);
  // The copy carries the source's permissions (and so its read-only
  // attribute) and its last-write time.
  if (fchmod(copy.fd.Get(), sourceStatus.st_mode & 0777) != 0) return FailFromErrno(target.host);
  struct timespec times[2] = {{0, UTIME_NOW}, sourceStatus.st_mtim};
  if (futimens(copy.fd.Get(), times) != 0) return FailFromErrno(target.host);
  if (!copy.Name(folder, name)) return FailFromErrno(target.host);
  if (close(copy.fd.Release()) != 0) return FailFromErrno(target.host);
  if (!copy.Install(target.host, !failIfExists)) {
    if (errno == EEXIST) return Fail(ERROR_FILE_EXISTS);
    return FailFromErrno(target.host);
  }
  return TRUE;
}
