// Host boundary: watching a folder tree for changes. May hold inotify and
// the bookkeeping of which folders are watched.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// What counts as a change.
enum ChangeKind : unsigned {
  kFileNames = 1u << 0,    // a file made, removed or renamed
  kFolderNames = 1u << 1,  // a folder made, removed or renamed
  kAttributes = 1u << 2,
  kSize = 1u << 3,
  kWriteTime = 1u << 4,
  kAccessTime = 1u << 5,
  kCreationTime = 1u << 6,
  kSecurity = 1u << 7,
};

class TreeWatch {
 public:
  // Watches folder and, with subtree, every folder below it, those made
  // later included; kinds (ChangeKind bits) say what counts. False with
  // errno set (ENOMEM when the host's limit of watches is reached).
  bool Open(const std::string& folder, bool subtree, unsigned kinds);
  // Readable when the host has something to tell.
  const Descriptor& Fd() const { return fd; }
  // Takes all the host has told so far, without waiting: true when a
  // change of the watched kinds is among it. Folders that appeared below
  // are watched from here on.
  bool TakeChanges();

 private:
  // Watches path and the folders below it; with reportContents, what is
  // found inside counts as made now (it came before the watch did).
  bool AddFolders(const std::string& path, bool reportContents, bool* changed);
  bool AddFoldersInside(const std::string& folder, bool reportContents, bool* changed);
  void RemoveFolders(const std::string& path);
  bool Counts(std::uint32_t event) const;

  Descriptor fd;
  bool subtree = false;
  unsigned kinds = 0;
  std::uint32_t eventMask = 0;
  int rootWatch = -1;
  std::string root;
  std::unordered_map<int, std::string> folders;  // by watch descriptor
};

}  // namespace qm::kernel::host
