// Host-specific: Linux reflink (FICLONE), copy_file_range, read and write.
#include "platform/kernel/host/CopyContents.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {

bool CloneContents(const Descriptor& in, const Descriptor& out) { return ::ioctl(out.Get(), FICLONE, in.Get()) == 0; }

bool CopyContents(const Descriptor& inFile, const Descriptor& outFile, std::uint64_t expectedSize) {
  const int in = inFile.Get(), out = outFile.Get();
  std::uint64_t copied = 0;
  for (;;) {
    ssize_t count = RetryOnSignal([&] { return ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0); });
    if (count > 0) {
      copied += static_cast<std::uint64_t>(count);
      // The whole file as it was opened: no call to hear the end.
      if (expectedSize > 0 && copied >= expectedSize) return true;
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
    ssize_t count = RetryOnSignal([&] { return ::read(in, buffer.data(), buffer.size()); });
    if (count == 0) return true;
    if (count < 0) return false;
    if (!WriteAll(outFile, std::string_view(buffer.data(), static_cast<size_t>(count)))) return false;
  }
}

}  // namespace qm::kernel::host
