// Host-specific: opendir/readdir, mkdir, rmdir, unlink, chmod.
#include "platform/kernel/host/Entries.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm::kernel::host {

bool ListFolder(const std::string& folder, std::vector<std::string>* names) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  names->clear();
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names->emplace_back(entry->d_name);
  }
  int readError = errno;
  ::closedir(dir);
  errno = readError;
  return readError == 0;
}

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool RemoveEntry(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool SetModeBits(const std::string& path, unsigned mode) {
  return ::chmod(path.c_str(), static_cast<mode_t>(mode & 07777)) == 0;
}

}  // namespace qm::kernel::host
