// Host boundary: the one writer that replaces a file whole. May hold the
// temporary file beside the target, its naming and its installation.
//
// The new content goes into a file of its own in the target's folder,
// unnamed while the file system allows it, and takes the target's name only
// when it is complete: a reader sees the old file or the new one, never
// half of one, and a writer that fails or is abandoned leaves nothing.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

class ReplacementFile {
 public:
  enum class Install {
    Replace,       // over whatever has the target's name
    KeepExisting,  // fails with EEXIST when something has it
  };
  enum class Flush {
    ToDisk,   // content and name survive a crash once Commit answers
    Lazily,   // the file system's own order (a copy of many files)
  };

  ReplacementFile() = default;
  // An uncommitted file goes away with its owner.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Starts the new file for target (a host path); false with errno set.
  bool Open(const std::string& target);
  const Descriptor& File() const { return file; }

  // Permission bits (0777 and below) and last-write time of the new file.
  bool SetMode(unsigned mode);
  bool SetWriteTime(const std::timespec& writeTime);

  // Puts the finished file at the target; false with errno set, and the
  // target as it was.
  bool Commit(Install install, Flush flush);

 private:
  bool GiveName();
  bool LinkTo(const std::string& path);

  Descriptor file;
  std::string target;
  std::string folder;
  std::string namedPath;  // empty while the file has no name
};

// Replaces hostPath with content (mode bits mode), flushed to disk; false
// with errno set, hostPath untouched and no temporary file left.
bool WriteFileAtomically(const std::string& hostPath, std::string_view content, unsigned mode = 0644);

}  // namespace qm::kernel::host
