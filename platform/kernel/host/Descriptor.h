// Host boundary: open host files as descriptors, and whole reads and
// writes through them. May hold descriptor ownership and plain read/write
// calls; opening files for a particular purpose lives beside its purpose
// (AtomicWrite, FileLock).
#pragma once

#include <string>
#include <string_view>

namespace qm::kernel::host {

// An open host file descriptor, closed once: by its owner's end, by Reset
// or by Close. Move-only; a moved-from descriptor holds nothing.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd(fd) {}
  ~Descriptor();
  Descriptor(Descriptor&& other) noexcept : fd(other.Release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  bool IsOpen() const { return fd >= 0; }
  explicit operator bool() const { return IsOpen(); }
  int Get() const { return fd; }
  // Gives the descriptor up without closing it.
  int Release();
  // Closes now and reports the host's answer (a write may fail only here);
  // false with errno set. Closing nothing succeeds.
  bool Close();
  // Takes newFd in place of the one held, which is closed.
  void Reset(int newFd = -1);

 private:
  int fd = -1;
};

// Opens an existing file for reading; not open, with errno set, on failure.
Descriptor OpenForReading(const std::string& path);

// Writes all of data, however the host splits it; false with errno set.
bool WriteAll(const Descriptor& file, std::string_view data);

// Reads a whole file into *content; false with errno set.
bool ReadWholeFile(const std::string& path, std::string* content);

}  // namespace qm::kernel::host
