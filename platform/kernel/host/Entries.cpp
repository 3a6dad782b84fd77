// Host-specific: open/openat, fdopendir/readdir, mkdir, rmdir, unlink, chmod.
#include "platform/kernel/host/Entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

bool ListFolder(const std::string& folder, std::vector<std::string>* names) {
  Descriptor dir = OpenFolder(folder);
  return dir && ListOpenFolder(dir, names);
}

Descriptor OpenFolder(const std::string& path) {
  return Descriptor(RetryOnSignal([&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
}

namespace {

EntryType TypeOf(const dirent* entry) {
  if (entry->d_type == DT_DIR) return EntryType::Directory;
  // A link may point at a folder; some file systems do not tell.
  if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) return EntryType::Unknown;
  return EntryType::Other;
}

// Reads an open folder of its own (closed here) from its beginning; the one
// readdir loop of the platform.
bool VisitOwnDescriptor(int own, const std::function<bool(const char* name, EntryType type)>& visit) {
  if (own < 0) return false;
  DIR* dir = ::fdopendir(own);
  if (!dir) {
    int savedErrno = errno;
    ::close(own);
    errno = savedErrno;
    return false;
  }
  int readError = 0;
  while (true) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) {
      readError = errno;
      break;
    }
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    if (!visit(entry->d_name, TypeOf(entry))) break;
  }
  ::closedir(dir);
  errno = readError;
  return readError == 0;
}

}  // namespace

bool ListOpenFolder(const Descriptor& folder, std::vector<std::string>* names, std::vector<bool>* mayBeFolders) {
  names->clear();
  if (mayBeFolders) mayBeFolders->clear();
  return VisitOpenFolder(folder, [&](const char* name, EntryType type) {
    names->emplace_back(name);
    if (mayBeFolders) mayBeFolders->push_back(MayBeFolder(type));
    return true;
  });
}

bool VisitOpenFolder(const Descriptor& folder, const std::function<bool(const char* name, EntryType type)>& visit) {
  // A descriptor of its own, so the listing starts at the beginning and
  // leaves the caller's descriptor as it was.
  int own = RetryOnSignal([&] { return ::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
  return VisitOwnDescriptor(own, visit);
}

bool VisitFolder(const std::string& folder, const std::function<bool(const char* name, EntryType type)>& visit) {
  Descriptor dir = OpenFolder(folder);
  return dir && VisitOwnDescriptor(dir.Release(), visit);
}

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool RemoveEntry(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool SetModeBits(const std::string& path, unsigned mode) {
  return ::chmod(path.c_str(), static_cast<mode_t>(mode & 07777)) == 0;
}

}  // namespace qm::kernel::host
