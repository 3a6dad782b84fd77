// Host-specific: statx, readlink, statvfs.
#include "platform/kernel/host/FileStatus.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <vector>

namespace qm::kernel::host {
namespace {

std::timespec FromStatx(const struct statx_timestamp& t) {
  std::timespec time{};
  time.tv_sec = t.tv_sec;
  time.tv_nsec = t.tv_nsec;
  return time;
}

bool Statx(int dirFd, const char* path, int flags, FileStatus* status) {
  struct statx info;
  if (::statx(dirFd, path, flags | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
  status->isDirectory = S_ISDIR(info.stx_mode);
  status->isRegularFile = S_ISREG(info.stx_mode);
  status->isSymbolicLink = S_ISLNK(info.stx_mode);
  status->ownerMayWrite = (info.stx_mode & S_IWUSR) != 0;
  status->mode = info.stx_mode;
  status->size = info.stx_size;
  status->device = (static_cast<std::uint64_t>(info.stx_dev_major) << 32) | info.stx_dev_minor;
  status->inode = info.stx_ino;
  status->accessTime = FromStatx(info.stx_atime);
  status->writeTime = FromStatx(info.stx_mtime);
  // Without a birth time the change time is the nearest thing.
  status->creationTime = FromStatx((info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_ctime);
  return true;
}

}  // namespace

bool StatPath(const std::string& path, FileStatus* status) { return Statx(AT_FDCWD, path.c_str(), 0, status); }

bool StatLink(const std::string& path, FileStatus* status) {
  return Statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, status);
}

bool StatDescriptor(const Descriptor& file, FileStatus* status) { return Statx(file.Get(), "", AT_EMPTY_PATH, status); }

bool StatInFolder(const Descriptor& folder, const char* name, FileStatus* status) {
  return Statx(folder.Get(), name, 0, status);
}

bool ReadLinkTarget(const std::string& path, std::string* target) {
  std::vector<char> buffer(4096);
  ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
  if (length < 0) return false;
  target->assign(buffer.data(), static_cast<size_t>(length));
  return true;
}

bool QueryFreeSpace(const std::string& path, FreeSpace* space) {
  struct statvfs info;
  if (::statvfs(path.c_str(), &info) != 0) return false;
  space->blockBytes = info.f_frsize ? info.f_frsize : info.f_bsize;
  space->availableBlocks = info.f_bavail;
  space->totalBlocks = info.f_blocks;
  return true;
}

}  // namespace qm::kernel::host
