#include "platform/registry/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/kernel/LastError.h"
#include "platform/kernel/host/Descriptor.h"

namespace qm::registry {

namespace {

std::string ParentFolder(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

DWORD WriteFileAtomically(const std::string& hostPath, std::string_view content, unsigned mode) {
  std::string pattern = hostPath + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  qm::kernel::host::Descriptor file(::mkostemp(name.data(), O_CLOEXEC));
  if (!file) return qm::kernel::ErrorFromErrno(errno);
  bool ok = ::fchmod(file.Get(), mode) == 0 && qm::kernel::host::WriteAll(file, content) && ::fsync(file.Get()) == 0;
  int savedErrno = errno;
  if (!file.Close() && ok) {
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
  if (!qm::kernel::host::ReadWholeFile(hostPath, content)) return qm::kernel::ErrorFromErrno(errno);
  return ERROR_SUCCESS;
}

}  // namespace qm::registry
