// Host boundary: watched folders. May hold the host's queue of change
// notes for folders, watching an open folder (host/Entries opens and lists
// it) and reading the notes, and whether the notes see every change of a
// folder's file system.
//
// A note is queued by the call that made the change, before that call
// returns, whoever made it: so once a change is done, reading the queue
// sees it.
#pragma once

#include <string>
#include <vector>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

struct FolderChange {
  enum class Kind {
    NameAdded,        // created, linked or moved in
    NameRemoved,      // deleted or moved out
    FolderGone,       // the folder itself was deleted or moved (renamed), or unwatched
    QueueOverflowed,  // notes were lost: no watched folder is known any more
  };
  Kind kind = Kind::QueueOverflowed;
  int watch = -1;    // the watch that saw it; -1 for an overflow
  std::string name;  // the entry's name, for NameAdded and NameRemoved
};

// A queue that never blocks a read; empty with errno set.
Descriptor OpenChangeQueue();

// Starts watching an open folder for names added and removed and for its
// own end, a move included: the watch's number, or -1 with errno set. Watching a folder
// again answers the same number.
int WatchFolder(const Descriptor& queue, const Descriptor& folder);
// Ends a watch; a FolderGone note for it follows.
bool StopWatching(const Descriptor& queue, int watch);

// Appends every note queued so far (none when nothing changed); false with
// errno set when the queue cannot be read.
bool ReadChanges(const Descriptor& queue, std::vector<FolderChange>* changes);

// Whether the notes see every change of this folder: false on network and
// user-space file systems, where others change folders without the host's
// knowledge.
bool NotesSeeEveryChange(const Descriptor& folder);

}  // namespace qm::kernel::host
