// Folder indexes over the host's change notes (host/FolderWatch).
#include "platform/kernel/NameIndex.h"

#include <algorithm>
#include <cerrno>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
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

// A folder is known by its identity on the host (device and inode).
using FolderKey = FileIdentity;

struct FolderKeyHash {
  std::size_t operator()(const FolderKey& key) const { return std::hash<std::uint64_t>()(key.index * 31 + key.volume); }
};

// One folder's Windows names, kept compact: a folder of fifty thousand
// names is indexed as a whole. The names lie one after another in one
// block, each ended by a NUL (which no host name holds); an open table of
// their offsets and case-blind hashes finds them by any spelling, so a
// lookup needs no folded copy of the name.
class FolderNames {
 public:
  FolderNames() = default;
  FolderNames(const FolderNames&) = delete;
  FolderNames& operator=(const FolderNames&) = delete;

  // The case-blind hash the table files a name under: a lookup computes
  // it once and hands it to each question it asks.
  static std::uint32_t HashOf(std::string_view name) {
    std::size_t hash = HashNameIgnoringCase(name);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
  }

  std::size_t Count() const { return count; }

  bool Contains(std::string_view name, std::uint32_t hash) const { return FindExact(name, hash) != kNone; }

  // Adds a host name the folder holds; whether it held it already.
  bool Add(std::string_view name) {
    if (!IsWindowsName(name)) return false;
    const std::uint32_t hash = HashOf(name);
    if (FindExact(name, hash) != kNone) return true;
    if ((count + removed + 1) * 10 > slots.size() * 7) Rebuild(count + 1);
    std::size_t at = hash & (slots.size() - 1);
    while (slots[at].offset != kEmpty && slots[at].offset != kRemoved) at = (at + 1) & (slots.size() - 1);
    if (slots[at].offset == kRemoved) --removed;
    slots[at] = {static_cast<std::uint32_t>(block.size()), hash};
    block.append(name);
    block.push_back('\0');
    ++count;
    NoteChange(name, +1);
    return false;
  }

  void Remove(const std::string& name) {
    std::size_t at = FindExact(name, HashOf(name));
    if (at == kNone) return;
    unusedBytes += name.size() + 1;
    slots[at].offset = kRemoved;
    --count;
    ++removed;
    NoteChange(name, -1);
    // A folder emptied by deletes gives its room back in time.
    if (unusedBytes > 4096 && unusedBytes * 2 > block.size()) Rebuild(count);
  }

  // `name` itself if the folder holds it, else the smallest of the names
  // equal to it ignoring case: both from one walk of the table.
  std::optional<std::string_view> ExactOrSmallest(std::string_view name, std::uint32_t hash) const {
    std::optional<std::string_view> best;
    ForEachFolded(name, hash, [&](std::size_t at) {
      std::string_view candidate = NameAt(at);
      if (candidate == name) {
        best = candidate;
        return true;
      }
      if (!best || candidate < *best) best = candidate;
      return false;
    });
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
  struct Slot {
    std::uint32_t offset;
    std::uint32_t hash;
  };
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  static constexpr std::uint32_t kRemoved = 0xFFFFFFFE;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::string_view NameAt(std::size_t at) const { return std::string_view(block.data() + slots[at].offset); }

  // Calls visit(slot) for each name equal to `name` ignoring case, until
  // visit answers true; answers that slot, or kNone.
  template <class Visit>
  std::size_t ForEachFolded(std::string_view name, std::uint32_t hash, Visit visit) const {
    if (slots.empty()) return kNone;
    for (std::size_t at = hash & (slots.size() - 1);; at = (at + 1) & (slots.size() - 1)) {
      const Slot& slot = slots[at];
      if (slot.offset == kEmpty) return kNone;
      if (slot.offset != kRemoved && slot.hash == hash && NamesEqualIgnoringCase(NameAt(at), name) && visit(at))
        return at;
    }
  }

  std::size_t FindExact(std::string_view name, std::uint32_t hash) const {
    return ForEachFolded(name, hash, [&](std::size_t at) { return NameAt(at) == name; });
  }

  // Lays the names out afresh in a table with room for `names` of them, at
  // most half full, so that a growing folder doubles its table (the rebuild
  // is paid once per doubling) without holding more than twice its slots.
  // The block is laid out again only when removed names left holes in it.
  void Rebuild(std::size_t names) {
    std::size_t size = 16;
    while (size < names * 2) size *= 2;
    std::vector<Slot> old(size, Slot{kEmpty, 0});
    old.swap(slots);
    std::string oldBlock;
    if (unusedBytes != 0) {
      oldBlock.swap(block);
      block.reserve(oldBlock.size() - unusedBytes);
    }
    for (const Slot& slot : old) {
      if (slot.offset == kEmpty || slot.offset == kRemoved) continue;
      std::size_t at = slot.hash & (slots.size() - 1);
      while (slots[at].offset != kEmpty) at = (at + 1) & (slots.size() - 1);
      std::uint32_t offset = slot.offset;
      if (unusedBytes != 0) {
        std::string_view name(oldBlock.data() + slot.offset);
        offset = static_cast<std::uint32_t>(block.size());
        block.append(name);
        block.push_back('\0');
      }
      slots[at] = {offset, slot.hash};
    }
    unusedBytes = 0;
    removed = 0;
  }

  // Short names depend on all the folder's names. They are kept with the
  // names they were made from; a name added and removed again (a
  // temporary file) leaves them standing.
  void NoteChange(std::string_view name, int change) {
    if (!shortNamesMade) return;
    auto it = changesSinceShortNames.find(std::string(name));
    if (it != changesSinceShortNames.end() && it->second == -change) changesSinceShortNames.erase(it);
    else changesSinceShortNames[std::string(name)] = change;
  }

  void FillShortNames() {
    if (shortNamesMade && changesSinceShortNames.empty()) return;
    std::vector<std::string> all;
    all.reserve(count);
    for (std::size_t at = 0; at < slots.size(); ++at)
      if (slots[at].offset != kEmpty && slots[at].offset != kRemoved) all.emplace_back(NameAt(at));
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

  std::string block;         // the names, each ended by a NUL
  std::vector<Slot> slots;   // a power of two of them, at most seven tenths in use
  std::size_t count = 0;     // names in the table
  std::size_t removed = 0;   // slots marked removed, until the next rebuild
  std::size_t unusedBytes = 0;  // bytes of removed names in the block

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
// Most paths come without one and are taken as they are; `storage` holds
// a path cut short.
const std::string& PathKey(const std::string& hostFolder, std::string* storage) {
  if (hostFolder.size() > 1 && hostFolder.back() == '/') {
    storage->assign(hostFolder, 0, hostFolder.size() - 1);
    return *storage;
  }
  return hostFolder;
}

// The entry `name` names in a folder of these names: itself, else the
// smallest equal to it ignoring case, else the one whose short name it is.
// `hash` is the name's FolderNames::HashOf.
std::optional<std::string> MatchIn(FolderNames& names, std::string_view name, std::uint32_t hash) {
  if (std::optional<std::string_view> match = names.ExactOrSmallest(name, hash)) return std::string(*match);
  if (name.find('~') != std::string_view::npos && IsShortName(name))
    if (const std::string* longName = names.LongNameOf(name)) return *longName;
  return std::nullopt;
}

// What the index remembers of a host path of a folder. `checked` is the
// count of removals noted when the path was last seen to name the folder;
// `vouchedAt` the count of events that can end vouching (Indexes::Vouched)
// when the path was last vouched for up to a top of `vouchedTop` bytes.
struct PathEntry {
  static constexpr std::uint64_t kNever = ~std::uint64_t(0);
  FolderKey key;
  std::uint64_t checked = 0;
  std::uint64_t vouchedAt = kNever;
  std::size_t vouchedTop = 0;
};

class Indexes {
 public:
  // Calls use(FolderNames&) with the current names of hostFolder; false
  // when the folder cannot be read.
  template <class Use>
  bool With(const std::string& hostFolder, const host::FileStatus* folder, Use use) {
    std::lock_guard lock(mutex);
    if (WatchedFolder* watched = Current(hostFolder, folder)) {
      use(watched->names);
      return true;
    }
    // Not indexed yet, or gone: the listing tells which.
    return Build(hostFolder, use);
  }

  // The index's answer for `name` in a folder indexed under this path
  // whose names, as last seen, lack `name` as written: only then is a
  // query of the folder and a look at the notes likely to be all a lookup
  // needs. Not answered otherwise, nor when the path names another folder
  // by now. A path the notes vouch for (Vouched) needs no query of the
  // folder at all.
  IndexAnswer AskKnown(const std::string& hostFolder, std::string_view name, const host::FileStatus* folder,
                       const std::string* within) {
    std::lock_guard lock(mutex);
    std::string pathStorage;
    const std::string& path = PathKey(hostFolder, &pathStorage);
    auto known = byPath.find(path);
    if (known == byPath.end()) return {};
    auto indexed = folders.find(known->second.key);
    const std::uint32_t hash = FolderNames::HashOf(name);
    if (indexed == folders.end() || indexed->second->names.Contains(name, hash)) return {};
    if (!folder && within) {
      TakeChanges();
      std::string topStorage;
      if (const PathEntry* vouched = Vouched(path, PathKey(*within, &topStorage)))
        if (WatchedFolder* watched = Known(vouched->key)) return Answer(*watched, vouched->key, name, hash);
    }
    FolderKey key;
    WatchedFolder* watched = Current(hostFolder, folder, &key);
    if (!watched) return {};
    return Answer(*watched, key, name, hash);
  }

 private:
  // The index of the folder hostFolder names now (its status `folder`, or
  // asked here), brought up to date and noted under this path; nothing
  // when that folder is not indexed or not there.
  // `key`, when given, receives the folder's identity.
  WatchedFolder* Current(const std::string& hostFolder, const host::FileStatus* folder, FolderKey* key = nullptr) {
    host::FileStatus status;
    if (!folder) {
      if (!host::StatPath(hostFolder, &status)) return nullptr;
      folder = &status;
    }
    const std::uint64_t before = removals;
    TakeChanges();
    const FolderKey known{folder->device, folder->inode};
    WatchedFolder* watched = Known(known);
    if (watched) NotePath(hostFolder, known, before);
    if (key) *key = known;
    return watched;
  }

  static IndexAnswer Answer(WatchedFolder& watched, const FolderKey& key, std::string_view name,
                            std::uint32_t hash) {
    return IndexAnswer{true, MatchIn(watched.names, name, hash), key};
  }

  // Paths are remembered a few per folder: the index of a path asked for
  // again is found without a listing.
  void NotePath(const std::string& hostFolder, const FolderKey& key, std::uint64_t checked) {
    std::string storage;
    const std::string& path = PathKey(hostFolder, &storage);
    auto known = byPath.find(path);
    if (known != byPath.end() && known->second.key == key) {
      known->second.checked = checked;
      return;
    }
    auto folder = folders.find(key);
    if (folder == folders.end()) return;
    if (known != byPath.end()) {
      DropPath(known->second.key, path);
      byPath.erase(known);
      ++pathsDropped;
    }
    std::vector<std::string>& paths = folder->second->paths;
    if (paths.size() >= 4) {
      byPath.erase(paths.front());
      paths.erase(paths.begin());
      ++pathsDropped;
    }
    paths.push_back(path);
    byPath.emplace(path, PathEntry{key, checked});
  }

  // The entry of a path that still names the folder it named when last
  // seen, known without asking the host; nothing otherwise. So it is while
  // the path and every folder above it up to `top` are indexed, were last
  // seen since the last removal, rename or loss of notes anywhere, and
  // `top` has not moved. A name can only come to mean another folder by
  // such a removal in a watched folder or by the watched folder's own
  // move, which its notes tell. (Mounting over a folder is not noted; nor
  // is a change above `top`, the drive's own folder.) The folders on the
  // way count as used when it is walked.
  //
  // Every file copied into a folder asks this of the same path: once the
  // walk up to `top` has held, it holds again until a removal, a forgotten
  // folder or a dropped path could have changed its answer, and the path's
  // entry says so without the walk.
  const PathEntry* Vouched(const std::string& leaf, const std::string& top) {
    if (leaf.size() < top.size() || leaf.compare(0, top.size(), top) != 0) return nullptr;
    auto found = byPath.find(leaf);
    if (found == byPath.end()) return nullptr;
    PathEntry& entry = found->second;
    if (entry.vouchedAt == Unvouchings() && entry.vouchedTop == top.size()) return &entry;
    std::string path = leaf;
    for (auto level = found;;) {
      if (level->second.checked != removals || !Known(level->second.key)) return nullptr;
      if (path.size() <= top.size()) break;
      std::size_t slash = path.rfind('/');
      if (slash == std::string::npos || slash < top.size()) return nullptr;
      path.resize(slash == 0 ? 1 : slash);
      level = byPath.find(path);
      if (level == byPath.end()) return nullptr;
    }
    entry.vouchedAt = Unvouchings();
    entry.vouchedTop = top.size();
    return &entry;
  }

  // Grows with every event after which a path vouched for may no longer be.
  std::uint64_t Unvouchings() const { return removals + pathsDropped; }

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
    const std::uint64_t before = removals;
    FolderKey key{status.device, status.inode};
    // The path may have come to name a folder that is known already.
    if (WatchedFolder* watched = Known(key)) {
      use(watched->names);
      return true;
    }
    auto folder = std::make_unique<WatchedFolder>();
    // Watched before it is read: a change while it is read is noted too,
    // and a note of what the listing holds already changes nothing.
    folder->watch = Watch(dir, key.volume);
    // Read into the index as the listing goes: a folder of many thousand
    // names is not held twice.
    if (!host::VisitOpenFolder(dir, [&](const char* name, host::EntryType) {
          folder->names.Add(name);
          return true;
        })) {
      if (folder->watch >= 0) host::StopWatching(queue, folder->watch);
      return false;
    }
    use(folder->names);
    if (folder->watch < 0) return true;  // read afresh next time
    byWatch[folder->watch] = key;
    recent.push_front(key);
    folder->recent = recent.begin();
    totalNames += folder->names.Count();
    folders[key] = std::move(folder);
    NotePath(hostFolder, key, before);
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
          // A name added over one that was there (a rename onto it)
          // replaces an entry, as a removal does.
          if (folder.names.Add(change.name)) ++removals;
          break;
        case host::FolderChange::Kind::NameRemoved:
          ++removals;
          folder.names.Remove(change.name);
          break;
        default:
          // A moved folder is still watched: the watch goes with its index.
          ++removals;
          Forget(key, true);
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
    ++pathsDropped;
    byWatch.erase(it->second->watch);
    recent.erase(it->second->recent);
    folders.erase(it);
  }

  void ForgetAll() {
    ++removals;
    while (!folders.empty()) Forget(recent.back(), true);
  }

  std::mutex mutex;
  bool queueOpened = false;
  host::Descriptor queue;
  std::unordered_map<FolderKey, std::unique_ptr<WatchedFolder>, FolderKeyHash> folders;
  std::unordered_map<int, FolderKey> byWatch;
  std::unordered_map<std::string, PathEntry> byPath;
  std::uint64_t removals = 0;  // names removed, folders gone and notes lost, as noted so far
  std::uint64_t pathsDropped = 0;  // paths no longer noted, their folders' forgotten included
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
  const std::uint32_t hash = FolderNames::HashOf(name);
  TheIndexes().With(hostFolder, folder, [&](FolderNames& names) { found = MatchIn(names, name, hash); });
  return found;
}

IndexAnswer AskKnownIndex(const std::string& hostFolder, std::string_view name, const host::FileStatus* folder,
                          const std::string* within) {
  return TheIndexes().AskKnown(hostFolder, name, folder, within);
}

std::string ShortNameOfEntry(const std::string& hostFolder, const std::string& entry, const host::FileStatus* folder) {
  std::string shortName;
  TheIndexes().With(hostFolder, folder, [&](FolderNames& names) { shortName = names.ShortNameOf(entry); });
  return shortName;
}

}  // namespace qm::kernel
