// Host-specific: open with O_NONBLOCK, fcntl, fdopen.
#include "platform/kernel/host/Stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

namespace {

// fopen's flags for a mode, or -1 for a mode it would not take.
int FlagsOfMode(std::string_view mode) {
  if (mode.empty()) return -1;
  const bool update = mode.find('+') != std::string_view::npos;
  switch (mode.front()) {
    case 'r': return update ? O_RDWR : O_RDONLY;
    case 'w': return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    case 'a': return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    default: return -1;
  }
}

}  // namespace

Descriptor OpenForStream(const std::string& path, std::string_view mode) {
  const int flags = FlagsOfMode(mode);
  if (flags < 0) {
    errno = EINVAL;
    return Descriptor();
  }
  // O_NOCTTY: a terminal opened here never becomes the process's own.
  return Descriptor(RetryOnSignal(
      [&] { return ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666); }));
}

std::FILE* StreamFromDescriptor(Descriptor file, std::string_view mode) {
  const int flags = ::fcntl(file.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) < 0) return nullptr;
  const std::string modeText(mode);
  std::FILE* stream = ::fdopen(file.Get(), modeText.c_str());
  if (stream) file.Release();
  return stream;
}

}  // namespace qm::kernel::host
