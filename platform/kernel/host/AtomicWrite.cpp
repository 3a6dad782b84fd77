// Host-specific: Linux unnamed temporary files (O_TMPFILE), the creation
// mask (/proc) and default access lists (xattr), links and
// renames, fsync, unlinkat.
#include "platform/kernel/host/AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileStatus.h"
#include "platform/kernel/host/Process.h"
#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {
namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A hidden name of its own beside the target.
std::string UniqueName(const std::string& folder, const std::string& target) {
  static unsigned counter = 0;
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".~%d-%u.tmp", CurrentProcessId(),
                __atomic_add_fetch(&counter, 1, __ATOMIC_RELAXED));
  std::string name = target.substr(target.rfind('/') + 1);
  // Short enough for the host's name limit whatever the name's length.
  return (folder == "/" ? folder : folder + "/") + "." + name.substr(0, 200) + suffix;
}

bool AllDigits(std::string_view text) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

void RemoveKeepingErrno(const std::string& path) {
  int savedErrno = errno;
  ::unlink(path.c_str());
  errno = savedErrno;
}

// The host's file-creation mask of this process, as its status file tells
// it (asking the host for it sets it, for a moment, for every thread); -1
// when it cannot be told.
int ReadCreationMask() {
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (!status) return -1;
  int found = -1;
  char line[256];
  while (found < 0 && std::fgets(line, sizeof line, status)) {
    unsigned value = 0;
    if (std::sscanf(line, "Umask: %o", &value) == 1) found = static_cast<int>(value & 0777);
  }
  std::fclose(status);
  return found;
}

// A folder with a default access list gives new files bits of its own,
// whatever the creation mask.
bool HasDefaultAccessList(const std::string& folder) {
  return ::getxattr(folder.c_str(), "system.posix_acl_default", nullptr, 0) > 0;
}

// What this process learns of a folder at its first write into it: it
// clears the folder of abandoned files then, and notes whether the
// folder's own access list decides a new file's bits. The creation mask
// is the process's, read once. A child forked from it starts over: it is
// another writer.
class WrittenFolders {
 public:
  // The creation mask that applies to new files in folder; -1 where the
  // bits a new file gets cannot be told in advance.
  int CreationMaskIn(const std::string& folder) {
    std::lock_guard lock(mutex);
    int self = CurrentProcessId();
    if (owner != self || withAccessList.size() >= 4096) {
      withAccessList.clear();
      owner = self;
      processMask = ReadCreationMask();
    }
    auto known = withAccessList.find(folder);
    if (known == withAccessList.end()) {
      RemoveAbandonedReplacements(folder);
      known = withAccessList.emplace(folder, HasDefaultAccessList(folder)).first;
    }
    return known->second ? -1 : processMask;
  }

 private:
  std::mutex mutex;
  int owner = 0;
  int processMask = -1;
  std::map<std::string, bool> withAccessList;
};

WrittenFolders* TheWrittenFolders() {
  static WrittenFolders* written = new WrittenFolders;  // used until the very end of the process
  return written;
}

// A rename reaches the disk with its folder.
void FlushFolder(const std::string& folder) {
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.Get());
}

}  // namespace

int ReplacementWriter(std::string_view name) {
  // "." name ".~" pid "-" count ".tmp"
  constexpr std::string_view end = ".tmp";
  if (name.size() < 1 + 2 + 1 + 1 + 1 + end.size() || name[0] != '.' || !name.ends_with(end)) return 0;
  std::string_view rest = name.substr(0, name.size() - end.size());
  size_t mark = rest.rfind(".~");
  if (mark == std::string_view::npos || mark == 0) return 0;
  std::string_view numbers = rest.substr(mark + 2);
  size_t dash = numbers.find('-');
  if (dash == std::string_view::npos || !AllDigits(numbers.substr(0, dash)) || !AllDigits(numbers.substr(dash + 1)))
    return 0;
  long pid = std::strtol(std::string(numbers.substr(0, dash)).c_str(), nullptr, 10);
  return pid > 0 && pid <= 0x7fffffff ? static_cast<int>(pid) : 0;
}

void RemoveAbandonedReplacements(const std::string& folder) {
  int savedErrno = errno;
  Descriptor dir = OpenFolder(folder);
  std::vector<std::string> names;
  if (dir && ListOpenFolder(dir, &names)) {
    const int self = CurrentProcessId();
    for (const std::string& name : names) {
      int writer = ReplacementWriter(name);
      // A writer that still runs may be about to rename its file.
      if (writer == 0 || writer == self || ProcessIsRunning(writer)) continue;
      ::unlinkat(dir.Get(), name.c_str(), 0);
    }
  }
  errno = savedErrno;
}

ReplacementFile::~ReplacementFile() {
  if (!namedPath.empty()) RemoveKeepingErrno(namedPath);
}

bool ReplacementFile::Open(const std::string& targetPath, unsigned mode, const Descriptor* targetFolder) {
  target = targetPath;
  folderAt = targetFolder ? targetFolder->Get() : -1;
  mode &= 0777;
  // A writer killed between naming its file and renaming it left the file
  // behind; the first write of a later run into the folder removes it.
  folder = FolderOf(targetPath);
  const int mask = TheWrittenFolders()->CreationMaskIn(folder);
  // Made with its final permission bits where the creation mask leaves
  // them whole: then no change of mode follows.
  createdMode = mask >= 0 && (mode & static_cast<unsigned>(mask)) == 0 ? static_cast<int>(mode) : -1;
  const mode_t createAs = createdMode >= 0 ? static_cast<mode_t>(mode) : 0600;
  file.Reset(RetryOnSignal([&] {
    constexpr int kFlags = O_TMPFILE | O_WRONLY | O_CLOEXEC;
    return folderAt >= 0 ? ::openat(folderAt, ".", kFlags, createAs) : ::open(folder.c_str(), kFlags, createAs);
  }));
  if (file) return true;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  // No unnamed files here: a hidden name from the start.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = UniqueName(folder, target);
    file.Reset(::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, createAs));
    if (file) {
      namedPath = candidate;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool ReplacementFile::SetMode(unsigned mode) {
  if (createdMode >= 0 && (mode & 07777) == static_cast<unsigned>(createdMode)) return true;
  if (::fchmod(file.Get(), static_cast<mode_t>(mode & 07777)) != 0) return false;
  createdMode = static_cast<int>(mode & 07777);
  return true;
}

bool ReplacementFile::SetWriteTime(const std::timespec& writeTime) {
  struct timespec times[2] = {{0, UTIME_NOW}, writeTime};
  return ::futimens(file.Get(), times) == 0;
}

bool ReplacementFile::LinkTo(int at, const char* path) {
  // Linking a descriptor by itself takes a privilege; its /proc name does
  // not. A process seen without the privilege goes there at once.
  static std::atomic<bool> withoutPrivilege = false;
  if (!withoutPrivilege.load(std::memory_order_relaxed)) {
    if (::linkat(file.Get(), "", at, path, AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
  }
  const int refusal = errno;
  const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
  if (::linkat(AT_FDCWD, self.c_str(), at, path, AT_SYMLINK_FOLLOW) != 0) return false;
  if (refusal == ENOENT) withoutPrivilege.store(true, std::memory_order_relaxed);
  return true;
}

bool ReplacementFile::LinkToTarget() {
  if (folderAt >= 0) return LinkTo(folderAt, target.c_str() + target.rfind('/') + 1);
  return LinkTo(AT_FDCWD, target.c_str());
}

bool ReplacementFile::GiveName() {
  if (!namedPath.empty()) return true;
  std::string candidate = UniqueName(folder, target);
  if (!LinkTo(AT_FDCWD, candidate.c_str())) return false;
  namedPath = candidate;
  return true;
}

bool ReplacementFile::Commit(Install install, Flush flush) {
  if (flush == Flush::ToDisk && ::fsync(file.Get()) != 0) return false;
  // An unnamed file whose target does not exist yet takes the name in one
  // step, complete as it is.
  if (namedPath.empty()) {
    if (LinkToTarget()) {
      if (!file.Close()) {
        // The bytes may not all be there: the name goes again.
        RemoveKeepingErrno(target);
        return false;
      }
      if (flush == Flush::ToDisk) FlushFolder(folder);
      return true;
    }
    if (errno != EEXIST) return false;
    if (install == Install::KeepExisting) return false;
  }
  if (!GiveName() || !file.Close()) return false;
  if (install == Install::Replace) {
    if (::rename(namedPath.c_str(), target.c_str()) != 0) return false;
  } else if (::link(namedPath.c_str(), target.c_str()) == 0) {
    ::unlink(namedPath.c_str());
  } else {
    // A file system without hard links: check, then rename.
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return false;
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0) {
      errno = EEXIST;
      return false;
    }
    if (::rename(namedPath.c_str(), target.c_str()) != 0) return false;
  }
  namedPath.clear();
  if (flush == Flush::ToDisk) FlushFolder(folder);
  return true;
}

bool WriteFileAtomically(const std::string& hostPath, std::string_view content, std::optional<unsigned> mode) {
  // A link is written through: a file kept elsewhere and linked in stays
  // where it is, and the link stays a link.
  std::string target = hostPath;
  FileStatus entry;
  if (StatLink(hostPath, &entry) && entry.isSymbolicLink) {
    if (char* resolved = ::realpath(hostPath.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  if (!mode) {
    // A file that is there keeps its permission bits (one kept private
    // stays so); a new one gets what the creation mask leaves.
    FileStatus existing;
    if (StatPath(target, &existing) && existing.isRegularFile) {
      mode = existing.mode & 07777;
    } else {
      int mask = TheWrittenFolders()->CreationMaskIn(FolderOf(target));
      if (mask < 0) mask = ReadCreationMask();
      mode = 0666u & ~static_cast<unsigned>(mask < 0 ? 022 : mask);
    }
  }
  ReplacementFile file;
  return file.Open(target, *mode) && file.SetMode(*mode) && WriteAll(file.File(), content) &&
         file.Commit(ReplacementFile::Install::Replace, ReplacementFile::Flush::ToDisk);
}

}  // namespace qm::kernel::host
