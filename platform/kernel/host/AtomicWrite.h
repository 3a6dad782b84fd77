// Host boundary: the one writer that replaces a file whole. May hold the
// temporary file beside the target, its naming and its installation.
//
// The new content goes into a file of its own in the target's folder,
// unnamed while the file system allows it, and takes the target's name only
// when it is complete: a reader sees the old file or the new one, never
// half of one, and a writer that fails or is abandoned leaves nothing.
// Replacing an existing file needs a name for the new one for the moment
// of the rename: a hidden ".name.~pid-count.tmp" beside the target. A
// writer killed in that moment leaves it; the first write of a later
// process into the folder removes every such file whose writer is gone.
#pragma once

#include <ctime>
#include <optional>
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

  // Starts the new file for target (a host path), with the permission bits
  // it is to have (0777 and below) where the creation mask allows, else
  // 0600 until SetMode; false with errno set. `targetFolder`, when given,
  // is the target's folder open, the very one the path names: the file is
  // made and named relative to it, without a walk of the whole path. It
  // stays open until Commit.
  bool Open(const std::string& target, unsigned mode = 0600, const Descriptor* targetFolder = nullptr);
  const Descriptor& File() const { return file; }

  // Permission bits (07777 and below) and last-write time of the new file;
  // the bits it was made with need no change.
  bool SetMode(unsigned mode);
  bool SetWriteTime(const std::timespec& writeTime);

  // Puts the finished file at the target; false with errno set, and the
  // target as it was.
  bool Commit(Install install, Flush flush);

 private:
  bool GiveName();
  // Names the file `path` in the folder `at` (a descriptor, or the host's
  // current folder for a whole path).
  bool LinkTo(int at, const char* path);
  bool LinkToTarget();

  Descriptor file;
  std::string target;
  std::string folder;
  int folderAt = -1;  // the target's folder open, where the caller gave it
  std::string namedPath;  // empty while the file has no name
  int createdMode = -1;   // the permission bits the file has, where known
};

// The id of the process that named a file name as its temporary file
// (".name.~pid-count.tmp"); 0 for every other name.
int ReplacementWriter(std::string_view name);
// Removes from folder the temporary files of writers that no longer run.
// Keeps errno; a folder that cannot be read is left as it is.
void RemoveAbandonedReplacements(const std::string& folder);

// Replaces hostPath with content, flushed to disk; false with errno set,
// hostPath untouched and no temporary file left. The file gets the
// permission bits `mode`; without them a file that is there keeps its own
// and a new one gets what the creation mask leaves, as any new file. A
// link is written through to the file it names.
bool WriteFileAtomically(const std::string& hostPath, std::string_view content,
                         std::optional<unsigned> mode = std::nullopt);

}  // namespace qm::kernel::host
