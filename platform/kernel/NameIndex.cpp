// Folder indexes over the host's change notes (host/FolderWatch).
#include "platform/kernel/NameIndex.h"

#include <algorithm>
#include <cerrno>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/kernel/NameCase.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/ShortName.h"
#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FolderWatch.h"

namespace qm::kernel {
namespace {

// Enough for the folders a copy works in at once; a folder larger than
// the budget of names is still indexed, alone.
constexpr std::size_t kMaxFolders = 64;
constexpr std::size_t kMaxNames = 100000;

struct FolderKey {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FolderKey&) const = default;
};

struct FolderKeyHash {
  std::size_t operator()(const FolderKey& key) const { return std::hash<std::uint64_t>()(key.inode * 31 + key.device); }
};

// One folder's Windows names. Names live in slots; the set holds slot
// numbers and hashes and compares them through the names, blind to case,
// so it answers a lookup by any spelling of a name without a folded copy.
class FolderNames {
 public:
  FolderNames() : byFold(16, FoldHash{this}, FoldEqual{this}) {}
  FolderNames(const FolderNames&) = delete;
  FolderNames& operator=(const FolderNames&) = delete;

  std::size_t Count() const { return byFold.size(); }

  bool Contains(std::string_view name) const {
    auto [first, last] = byFold.equal_range(name);
    for (auto it = first; it != last; ++it)
      if (names[*it] == name) return true;
    return false;
  }

  void Add(std::string name) {
    if (!IsWindowsName(name) || Contains(name)) return;
    std::uint32_t slot;
    if (freeSlots.empty()) {
      slot = static_cast<std::uint32_t>(names.size());
      names.push_back(std::move(name));
    } else {
      slot = freeSlots.back();
      freeSlots.pop_back();
      names[slot] = std::move(name);
    }
    byFold.insert(slot);
    NoteChange(names[slot], +1);
  }

  void Remove(const std::string& name) {
    auto [first, last] = byFold.equal_range(std::string_view(name));
    for (auto it = first; it != last; ++it) {
      if (names[*it] != name) continue;
      std::uint32_t slot = *it;
      byFold.erase(it);
      NoteChange(name, -1);
      names[slot] = std::string();
      freeSlots.push_back(slot);
      return;
    }
  }

  // Of the names equal to `name` ignoring case, the smallest.
  const std::string* Smallest(std::string_view name) const {
    auto [first, last] = byFold.equal_range(name);
    const std::string* best = nullptr;
    for (auto it = first; it != last; ++it)
      if (!best || names[*it] < *best) best = &names[*it];
    return best;
  }

  const std::string* LongNameOf(std::string_view shortName) {
    FillShortNames();
    auto it = longNames.find(UpcaseName(shortName));
    return it == longNames.end() ? nullptr : &it->second;
  }

  std::string ShortNameOf(const std::string& name) {
    FillShortNames();
    auto it = shortNames.find(name);
    return it == shortNames.end() ? std::string() : it->second;
  }

 private:
  struct FoldHash {
    using is_transparent = void;
    const FolderNames* owner;
    std::size_t operator()(std::uint32_t slot) const { return HashNameIgnoringCase(owner->names[slot]); }
    std::size_t operator()(std::string_view name) const { return HashNameIgnoringCase(name); }
  };
  struct FoldEqual {
    using is_transparent = void;
    const FolderNames* owner;
    bool operator()(std::uint32_t a, std::uint32_t b) const {
      return NamesEqualIgnoringCase(owner->names[a], owner->names[b]);
    }
    bool operator()(std::string_view a, std::uint32_t b) const { return NamesEqualIgnoringCase(a, owner->names[b]); }
    bool operator()(std::uint32_t a, std::string_view b) const { return NamesEqualIgnoringCase(owner->names[a], b); }
  };

  // Short names depend on all the folder's names. They are kept with the
  // names they were made from; a name added and removed again (a
  // temporary file) leaves them standing.
  void NoteChange(const std::string& name, int change) {
    if (!shortNamesMade) return;
    auto it = changesSinceShortNames.find(name);
    if (it != changesSinceShortNames.end() && it->second == -change) changesSinceShortNames.erase(it);
    else changesSinceShortNames[name] = change;
  }

  void FillShortNames() {
    if (shortNamesMade && changesSinceShortNames.empty()) return;
    std::vector<std::string> all;
    all.reserve(byFold.size());
    for (std::uint32_t slot : byFold) all.push_back(names[slot]);
    std::vector<std::string> assigned = AssignShortNames(all);
    shortNames.clear();
    longNames.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (assigned[i].empty()) continue;
      longNames.emplace(assigned[i], all[i]);
      shortNames.emplace(std::move(all[i]), std::move(assigned[i]));
    }
    changesSinceShortNames.clear();
    shortNamesMade = true;
  }

  std::vector<std::string> names;
  std::vector<std::uint32_t> freeSlots;
  std::unordered_multiset<std::uint32_t, FoldHash, FoldEqual> byFold;

  bool shortNamesMade = false;
  std::unordered_map<std::string, std::string> shortNames;  // long name -> short name, where it has one
  std::unordered_map<std::string, std::string> longNames;   // short name -> long name
  std::unordered_map<std::string, int> changesSinceShortNames;
};

struct WatchedFolder {
  FolderNames names;
  int watch = -1;
  std::list<FolderKey>::iterator recent;
  std::vector<std::string> paths;  // the host paths it was last found by
};

// A folder's path as the index knows it: without a trailing separator.
std::string PathKey(const std::string& hostFolder) {
  if (hostFolder.size() > 1 && hostFolder.back() == '/') return hostFolder.substr(0, hostFolder.size() - 1);
  return hostFolder;
}

// The entry `name` names in a folder of these names: itself, else the
// smallest equal to it ignoring case, else the one whose short name it is.
std::optional<std::string> MatchIn(FolderNames& names, std::string_view name) {
  if (names.Contains(name)) return std::string(name);
  if (const std::string* match = names.Smallest(name)) return *match;
  if (name.find('~') != std::string_view::npos && IsShortName(name))
    if (const std::string* longName = names.LongNameOf(name)) return *longName;
  return std::nullopt;
}

class Indexes {
 public:
  // Calls use(FolderNames&) with the current names of hostFolder; false
  // when the folder cannot be read.
  template <class Use>
  bool With(const std::string& hostFolder, const host::FileStatus* folder, Use use) {
    std::lock_guard lock(mutex);
    host::FileStatus status;
    if (!folder) {
      if (!host::StatPath(hostFolder, &status)) return false;
      folder = &status;
    }
    TakeChanges();
    if (WatchedFolder* watched = Known(FolderKey{folder->device, folder->inode})) {
      NotePath(hostFolder, FolderKey{folder->device, folder->inode});
      use(watched->names);
      return true;
    }
    return Build(hostFolder, use);
  }

  // The index's answer for `name` in a folder indexed under this path
  // whose names, as last seen, lack `name` as written: only then is a
  // query of the folder and a look at the notes likely to be all a lookup
  // needs. Not answered otherwise, nor when the path names another folder
  // by now.
  IndexAnswer AskKnown(const std::string& hostFolder, std::string_view name, const host::FileStatus* folder) {
    std::lock_guard lock(mutex);
    auto path = byPath.find(PathKey(hostFolder));
    if (path == byPath.end()) return {};
    auto indexed = folders.find(path->second);
    if (indexed == folders.end() || indexed->second->names.Contains(name)) return {};
    host::FileStatus status;
    if (!folder) {
      if (!host::StatPath(hostFolder, &status)) return {};
      folder = &status;
    }
    TakeChanges();
    WatchedFolder* watched = Known(FolderKey{folder->device, folder->inode});
    if (!watched) return {};
    return IndexAnswer{true, MatchIn(watched->names, name)};
  }

 private:
  // Paths are remembered a few per folder: the index of a path asked for
  // again is found without a listing.
  void NotePath(const std::string& hostFolder, const FolderKey& key) {
    std::string path = PathKey(hostFolder);
    auto known = byPath.find(path);
    if (known != byPath.end() && known->second == key) return;
    auto folder = folders.find(key);
    if (folder == folders.end()) return;
    if (known != byPath.end()) {
      DropPath(known->second, path);
      byPath.erase(known);
    }
    std::vector<std::string>& paths = folder->second->paths;
    if (paths.size() >= 4) {
      byPath.erase(paths.front());
      paths.erase(paths.begin());
    }
    paths.push_back(path);
    byPath.emplace(std::move(path), key);
  }

  void DropPath(const FolderKey& key, const std::string& path) {
    auto folder = folders.find(key);
    if (folder == folders.end()) return;
    std::vector<std::string>& paths = folder->second->paths;
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
  }

  WatchedFolder* Known(const FolderKey& key) {
    auto it = folders.find(key);
    if (it == folders.end()) return nullptr;
    recent.splice(recent.begin(), recent, it->second->recent);
    return it->second.get();
  }

  template <class Use>
  bool Build(const std::string& hostFolder, Use use) {
    host::Descriptor dir = host::OpenFolder(hostFolder);
    if (!dir) return false;
    host::FileStatus status;
    if (!host::StatDescriptor(dir, &status)) return false;
    FolderKey key{status.device, status.inode};
    // The path may have come to name a folder that is known already.
    if (WatchedFolder* watched = Known(key)) {
      use(watched->names);
      return true;
    }
    auto folder = std::make_unique<WatchedFolder>();
    // Watched before it is read: a change while it is read is noted too,
    // and a note of what the listing holds already changes nothing.
    folder->watch = Watch(dir, key.device);
    std::vector<std::string> listing;
    if (!host::ListOpenFolder(dir, &listing)) {
      if (folder->watch >= 0) host::StopWatching(queue, folder->watch);
      return false;
    }
    for (std::string& name : listing) folder->names.Add(std::move(name));
    use(folder->names);
    if (folder->watch < 0) return true;  // read afresh next time
    byWatch[folder->watch] = key;
    recent.push_front(key);
    folder->recent = recent.begin();
    totalNames += folder->names.Count();
    folders[key] = std::move(folder);
    NotePath(hostFolder, key);
    KeepWithinBudget();
    return true;
  }

  int Watch(const host::Descriptor& dir, std::uint64_t device) {
    if (!queueOpened) {
      queueOpened = true;
      queue = host::OpenChangeQueue();
    }
    if (!queue) return -1;
    auto seen = notesSeeEveryChange.find(device);
    if (seen == notesSeeEveryChange.end())
      seen = notesSeeEveryChange.emplace(device, host::NotesSeeEveryChange(dir)).first;
    if (!seen->second) return -1;
    int watch = host::WatchFolder(queue, dir);
    // The same folder under another identity is not to be trusted twice.
    if (watch >= 0 && byWatch.count(watch)) return -1;
    return watch;
  }

  void TakeChanges() {
    if (!queue) return;
    changes.clear();
    if (!host::ReadChanges(queue, &changes)) {
      ForgetAll();
      return;
    }
    for (const host::FolderChange& change : changes) {
      if (change.kind == host::FolderChange::Kind::QueueOverflowed) {
        ForgetAll();
        continue;
      }
      auto watch = byWatch.find(change.watch);
      if (watch == byWatch.end()) continue;
      FolderKey key = watch->second;
      WatchedFolder& folder = *folders.at(key);
      std::size_t before = folder.names.Count();
      switch (change.kind) {
        case host::FolderChange::Kind::NameAdded:
          folder.names.Add(change.name);
          break;
        case host::FolderChange::Kind::NameRemoved:
          folder.names.Remove(change.name);
          break;
        default:
          Forget(key, false);
          continue;
      }
      totalNames = totalNames - before + folder.names.Count();
    }
    KeepWithinBudget();
  }

  void KeepWithinBudget() {
    while (folders.size() > 1 && (folders.size() > kMaxFolders || totalNames > kMaxNames)) Forget(recent.back(), true);
  }

  void Forget(const FolderKey& key, bool stopWatching) {
    auto it = folders.find(key);
    if (it == folders.end()) return;
    if (stopWatching) host::StopWatching(queue, it->second->watch);
    totalNames -= it->second->names.Count();
    for (const std::string& path : it->second->paths) byPath.erase(path);
    byWatch.erase(it->second->watch);
    recent.erase(it->second->recent);
    folders.erase(it);
  }

  void ForgetAll() {
    while (!folders.empty()) Forget(recent.back(), true);
  }

  std::mutex mutex;
  bool queueOpened = false;
  host::Descriptor queue;
  std::unordered_map<FolderKey, std::unique_ptr<WatchedFolder>, FolderKeyHash> folders;
  std::unordered_map<int, FolderKey> byWatch;
  std::unordered_map<std::string, FolderKey> byPath;
  std::list<FolderKey> recent;  // most recently used first
  std::size_t totalNames = 0;
  std::unordered_map<std::uint64_t, bool> notesSeeEveryChange;  // by device
  std::vector<host::FolderChange> changes;
};

Indexes& TheIndexes() {
  static Indexes* indexes = new Indexes;  // used until the very end of the process
  return *indexes;
}

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(const std::string& hostFolder, std::string_view name,
                                                 const host::FileStatus* folder) {
  std::optional<std::string> found;
  TheIndexes().With(hostFolder, folder, [&](FolderNames& names) { found = MatchIn(names, name); });
  return found;
}

IndexAnswer AskKnownIndex(const std::string& hostFolder, std::string_view name, const host::FileStatus* folder) {
  return TheIndexes().AskKnown(hostFolder, name, folder);
}

std::string ShortNameOfEntry(const std::string& hostFolder, const std::string& entry, const host::FileStatus* folder) {
  std::string shortName;
  TheIndexes().With(hostFolder, folder, [&](FolderNames& names) { shortName = names.ShortNameOf(entry); });
  return shortName;
}

}  // namespace qm::kernel
