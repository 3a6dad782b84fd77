#include "platform/registry/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/kernel/LastError.h"

namespace qm::registry {

namespace {

std::string ParentFolder(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

DWORD WriteFileAtomically(const std::string& hostPath, std::string_view content, unsigned mode) {
  std::string pattern = hostPath + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return qm::kernel::ErrorFromErrno(errno);
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  int savedErrno = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && ::rename(name.data(), hostPath.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    ::unlink(name.data());
    return qm::kernel::ErrorFromErrno(savedErrno);
  }
  // The rename itself must reach the disk too.
  int dir = ::open(ParentFolder(hostPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return ERROR_SUCCESS;
}

DWORD ReadWholeFile(const std::string& hostPath, std::string* content) {
  int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return qm::kernel::ErrorFromErrno(errno);
  content->clear();
  char buffer[16384];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      int savedErrno = errno;
      ::close(fd);
      return qm::kernel::ErrorFromErrno(savedErrno);
    }
    if (n == 0) break;
    content->append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ERROR_SUCCESS;
}

}  // namespace qm::registry
