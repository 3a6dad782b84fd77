// Host boundary: what the host says about an entry and its file system.
// May hold status, link and free-space queries; nothing that changes an
// entry.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

struct FileStatus {
  bool isDirectory = false;
  bool isRegularFile = false;  // not a folder, link, FIFO, device or socket
  bool isSymbolicLink = false;  // only from StatLink
  bool ownerMayWrite = false;
  std::uint64_t size = 0;
  unsigned mode = 0;  // the permission bits and the kind, as the host keeps them
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::timespec creationTime{};  // the birth time, else the last change
  std::timespec accessTime{};
  std::timespec writeTime{};
};

// Status of a path, following links; false with errno set.
bool StatPath(const std::string& path, FileStatus* status);
// Status of the entry itself, a link not followed; false with errno set.
bool StatLink(const std::string& path, FileStatus* status);
// Status of an open file; false with errno set.
bool StatDescriptor(const Descriptor& file, FileStatus* status);
// Status of an entry of an open folder by its name, following links: no
// walk of the folder's path for every entry of a listing. False with errno
// set.
bool StatInFolder(const Descriptor& folder, const char* name, FileStatus* status);

// What a symbolic link points to; false with errno set.
bool ReadLinkTarget(const std::string& path, std::string* target);

struct FreeSpace {
  std::uint64_t blockBytes = 0;
  std::uint64_t availableBlocks = 0;  // free to an unprivileged writer
  std::uint64_t totalBlocks = 0;
};

// Space on the file system that holds path; false with errno set.
bool QueryFreeSpace(const std::string& path, FreeSpace* space);

}  // namespace qm::kernel::host
