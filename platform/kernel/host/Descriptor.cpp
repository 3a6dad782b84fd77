// Host-specific: POSIX descriptors, open, read, write, close.
#include "platform/kernel/host/Descriptor.h"

#include <fcntl.h>
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
  return Descriptor(RetryOnSignal([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
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
  content->clear();
  char buffer[16384];
  for (;;) {
    ssize_t got = RetryOnSignal([&] { return ::read(file.Get(), buffer, sizeof buffer); });
    if (got < 0) return false;
    if (got == 0) return true;
    content->append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace qm::kernel::host
