// Host-specific: Linux inotify, fstatfs.
#include "platform/kernel/host/FolderWatch.h"

#include <limits.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {
namespace {

// A watch names its folder through the open descriptor, so it watches
// exactly the folder that was opened, whatever its path means by now.
std::string DescriptorPath(const Descriptor& file) { return "/proc/self/fd/" + std::to_string(file.Get()); }

FolderChange::Kind KindOf(std::uint32_t mask) {
  if (mask & IN_Q_OVERFLOW) return FolderChange::Kind::QueueOverflowed;
  if (mask & (IN_CREATE | IN_MOVED_TO)) return FolderChange::Kind::NameAdded;
  if (mask & (IN_DELETE | IN_MOVED_FROM)) return FolderChange::Kind::NameRemoved;
  return FolderChange::Kind::FolderGone;
}

}  // namespace

Descriptor OpenChangeQueue() { return Descriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)); }

int WatchFolder(const Descriptor& queue, const Descriptor& folder) {
  constexpr std::uint32_t kMask =
      IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  return ::inotify_add_watch(queue.Get(), DescriptorPath(folder).c_str(), kMask);
}

bool StopWatching(const Descriptor& queue, int watch) { return ::inotify_rm_watch(queue.Get(), watch) == 0; }

bool ReadChanges(const Descriptor& queue, std::vector<FolderChange>* changes) {
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    ssize_t length = RetryOnSignal([&] { return ::read(queue.Get(), buffer, sizeof buffer); });
    if (length < 0) return errno == EAGAIN;
    for (ssize_t offset = 0; offset < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      FolderChange change;
      change.kind = KindOf(event->mask);
      change.watch = event->wd;
      if (event->len > 0) change.name = event->name;
      changes->push_back(std::move(change));
    }
    // A short read took everything there was.
    if (static_cast<size_t>(length) < sizeof buffer - sizeof(inotify_event) - NAME_MAX - 1) return true;
  }
}

bool NotesSeeEveryChange(const Descriptor& folder) {
  struct statfs info;
  if (::fstatfs(folder.Get(), &info) != 0) return false;
  // NFS, SMB (three kinds), FUSE, 9P, Ceph, AFS (two kinds), Coda, OCFS2, GFS2.
  for (unsigned long kind : {0x6969ul, 0x517Bul, 0xFF534D42ul, 0xFE534D42ul, 0x65735546ul, 0x01021997ul, 0x00C36400ul,
                             0x5346414Ful, 0x6B414653ul, 0x73757245ul, 0x7461636Ful, 0x01161970ul})
    if (static_cast<unsigned long>(info.f_type) == kind) return false;
  return true;
}

}  // namespace qm::kernel::host
