// Host-specific: inotify, one watch per folder of the tree.
#include "platform/kernel/host/TreeWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileStatus.h"
#include "platform/kernel/host/Retry.h"

namespace qm::kernel::host {
namespace {

constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

std::uint32_t EventsFor(unsigned kinds, bool subtree) {
  std::uint32_t mask = IN_DELETE_SELF | IN_MOVE_SELF;
  if (kinds & (kFileNames | kFolderNames)) mask |= kNameEvents;
  // Attribute events carry permission, owner and time changes alike.
  if (kinds & (kAttributes | kCreationTime | kSecurity | kWriteTime)) mask |= IN_ATTRIB;
  if (kinds & (kSize | kWriteTime)) mask |= IN_MODIFY;
  if (kinds & kAccessTime) mask |= IN_ACCESS;
  // Folders made or moved in must be seen to be watched themselves.
  if (subtree) mask |= IN_CREATE | IN_MOVED_FROM | IN_MOVED_TO;
  return mask;
}

std::string Join(const std::string& folder, const char* name) {
  return folder == "/" ? folder + name : folder + "/" + name;
}

}  // namespace

bool TreeWatch::Open(const std::string& folder, bool watchSubtree, unsigned changeKinds) {
  fd.Reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (!fd) return false;
  subtree = watchSubtree;
  kinds = changeKinds;
  eventMask = EventsFor(kinds, subtree);
  root = folder;
  folders.clear();
  rootWatch = ::inotify_add_watch(fd.Get(), folder.c_str(), eventMask | IN_ONLYDIR | IN_EXCL_UNLINK);
  bool changed = false;
  if (rootWatch >= 0) folders.emplace(rootWatch, folder);
  if (rootWatch < 0 || (subtree && !AddFoldersInside(folder, false, &changed))) {
    if (errno == ENOSPC) errno = ENOMEM;
    fd.Reset();
    return false;
  }
  return true;
}

bool TreeWatch::AddFolders(const std::string& path, bool reportContents, bool* changed) {
  int watch = ::inotify_add_watch(fd.Get(), path.c_str(), eventMask | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK);
  if (watch < 0) return false;
  folders[watch] = path;
  return AddFoldersInside(path, reportContents, changed);
}

bool TreeWatch::AddFoldersInside(const std::string& folder, bool reportContents, bool* changed) {
  std::vector<std::string> names;
  if (!ListFolder(folder, &names)) return true;
  for (const std::string& name : names) {
    std::string inner = Join(folder, name.c_str());
    FileStatus status;
    if (!StatLink(inner, &status)) continue;
    if (reportContents && (kinds & (status.isDirectory ? kFolderNames : kFileNames))) *changed = true;
    // A folder that vanished meanwhile is simply not watched.
    if (status.isDirectory && !AddFolders(inner, reportContents, changed) && errno != ENOENT) return false;
  }
  return true;
}

void TreeWatch::RemoveFolders(const std::string& path) {
  const std::string below = path + "/";
  for (auto it = folders.begin(); it != folders.end();) {
    if (it->second == path || it->second.compare(0, below.size(), below) == 0) {
      ::inotify_rm_watch(fd.Get(), it->first);
      it = folders.erase(it);
    } else {
      ++it;
    }
  }
}

bool TreeWatch::Counts(std::uint32_t event) const {
  if (event & kNameEvents) return kinds & ((event & IN_ISDIR) ? kFolderNames : kFileNames);
  if (event & IN_ATTRIB) return kinds & (kAttributes | kCreationTime | kSecurity | kWriteTime);
  if (event & IN_MODIFY) return kinds & (kSize | kWriteTime);
  if (event & IN_ACCESS) return kinds & kAccessTime;
  return false;
}

bool TreeWatch::TakeChanges() {
  bool changed = false;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    ssize_t got = RetryOnSignal([&] { return ::read(fd.Get(), buffer, sizeof buffer); });
    if (got <= 0) break;
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      at += sizeof(inotify_event) + event->len;
      if (event->mask & IN_Q_OVERFLOW) {
        // Events were lost, folders made among them too: all of it counts,
        // and the tree is looked at afresh.
        changed = true;
        if (subtree) AddFoldersInside(root, false, &changed);
        continue;
      }
      if (event->mask & IN_IGNORED) {
        folders.erase(event->wd);
        continue;
      }
      if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
        // The watched folder itself going away is a change of names.
        if (event->wd == rootWatch && (kinds & (kFileNames | kFolderNames))) changed = true;
        continue;
      }
      auto folder = folders.find(event->wd);
      if (folder == folders.end()) continue;
      if (Counts(event->mask)) changed = true;
      if (!subtree || !(event->mask & IN_ISDIR) || event->len == 0) continue;
      std::string path = Join(folder->second, event->name);
      if (event->mask & IN_MOVED_FROM) RemoveFolders(path);
      // A folder that cannot be watched (the host's limit) may hide
      // changes: better one wake-up too many than one missed.
      if ((event->mask & (IN_CREATE | IN_MOVED_TO)) && !AddFolders(path, true, &changed) && errno != ENOENT)
        changed = true;
    }
  }
  return changed;
}

}  // namespace qm::kernel::host
