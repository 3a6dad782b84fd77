// Host-specific: POSIX descriptors, open, fstat, read, write, close.
#include "platform/kernel/host/Descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

Descriptor::~Descriptor() { Reset(); }

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

int Descriptor::Release() {
  int released = fd;
  fd = -1;
  return released;
}

bool Descriptor::Close() {
  if (fd < 0) return true;
  // Never retried: the descriptor is gone whatever close answers.
  return ::close(Release()) == 0;
}

void Descriptor::Reset(int newFd) {
  if (fd >= 0 && fd != newFd) {
    // A failure being reported keeps its errno through the clean-up.
    int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
  }
  fd = newFd;
}

Descriptor OpenForReading(const std::string& path) {
  // Without waiting: a FIFO under a file's name would hold the open until
  // some writer came. A regular file reads the same either way.
  return Descriptor(RetryOnSignal([&] { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); }));
}

bool WriteAll(const Descriptor& file, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = RetryOnSignal([&] { return ::write(file.Get(), data.data(), data.size()); });
    if (written < 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* content) {
  Descriptor file = OpenForReading(path);
  if (!file) return false;
  struct stat info;
  if (::fstat(file.Get(), &info) != 0) return false;
  // Only a file has an end to read to: a device under a file's name (a
  // link to /dev/zero) would be read until memory ran out.
  if (!S_ISREG(info.st_mode)) {
    errno = EACCES;
    return false;
  }
  // Read in place into room for the size the file has now (and one byte
  // more, to see its end), so that a large file is neither copied nor
  // grown piece by piece; a file that grows meanwhile is still read whole.
  content->resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == content->size()) content->resize(content->size() * 2);
    ssize_t got = RetryOnSignal([&] { return ::read(file.Get(), content->data() + used, content->size() - used); });
    if (got < 0) {
      content->clear();
      return false;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  content->resize(used);
  return true;
}

}  // namespace qm::kernel::host
