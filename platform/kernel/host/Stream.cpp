// Host-specific: open with O_NONBLOCK, fcntl, fdopen, fopencookie.
#include "platform/kernel/host/Stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

// A file read in the runtime's text mode: a CR before an LF is dropped, and
// a Ctrl-Z byte ends the file, as files written under DOS end.
class TextModeReader {
 public:
  explicit TextModeReader(Descriptor file) : file(std::move(file)) {}

  ssize_t Read(char* out, size_t size) {
    size_t written = 0;
    while (written < size) {
      if (next == end) {
        if (!ended && written == 0) {
          const ssize_t got = RetryOnSignal([&] { return ::read(file.Get(), raw, sizeof raw); });
          if (got < 0) return -1;
          next = 0;
          end = static_cast<size_t>(got);
          ended = got == 0;
        }
        if (next == end) {
          if (ended && heldCr) {
            heldCr = false;
            out[written++] = '\r';
          }
          break;
        }
      }
      const char c = raw[next];
      if (heldCr) {
        // Only a CR that an LF follows goes.
        heldCr = false;
        if (c != '\n') {
          out[written++] = '\r';
          continue;
        }
      }
      ++next;
      if (c == kEndOfFile) {
        ended = true;
        next = end;
      } else if (c == '\r') {
        heldCr = true;
      } else {
        out[written++] = c;
      }
    }
    return static_cast<ssize_t>(written);
  }

 private:
  static constexpr char kEndOfFile = 0x1A;
  Descriptor file;
  char raw[16384];
  size_t next = 0;
  size_t end = 0;
  bool ended = false;   // the file's end, or a Ctrl-Z, was read
  bool heldCr = false;  // a CR whose next byte is not read yet
};

std::FILE* TextModeStream(Descriptor file) {
  auto* reader = new TextModeReader(std::move(file));
  cookie_io_functions_t calls{};
  calls.read = [](void* cookie, char* out, size_t size) { return static_cast<TextModeReader*>(cookie)->Read(out, size); };
  calls.close = [](void* cookie) {
    delete static_cast<TextModeReader*>(cookie);
    return 0;
  };
  std::FILE* stream = ::fopencookie(reader, "r", calls);
  if (!stream) delete reader;
  return stream;
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
  // Reading alone in text mode is the runtime's own; the other modes are
  // the host's, which keeps no text mode.
  if (mode == "r" || mode == "rt") return TextModeStream(std::move(file));
  const std::string modeText(mode);
  std::FILE* stream = ::fdopen(file.Get(), modeText.c_str());
  if (stream) file.Release();
  return stream;
}

}  // namespace qm::kernel::host
