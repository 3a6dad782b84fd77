// Directory searches: FindFirstFileA, FindNextFileA, FindClose.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/NameIndex.h"
#include "platform/kernel/NamePattern.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/ShortName.h"
#include "platform/kernel/host/FileStatus.h"
#include "platform/kernel/host/Entries.h"

namespace {

using namespace qm::kernel;

// Names one after another in one block, each ended by a NUL (which no
// host name holds), and the order a search returns them in: a search of a
// folder of many thousand names holds little more than the names.
class PackedNames {
 public:
  // Whether `name` fits after what the block holds: starts are 32-bit,
  // which a folder's names reach only past 4 GB, and a few bytes below
  // that are kept for the dot entries put after the listing.
  bool Fits(std::string_view name) const { return block.size() + name.size() + 1 < kNoRoom; }
  // Puts a name in the block without returning it; where it starts.
  std::uint32_t Put(std::string_view name) {
    const auto start = static_cast<std::uint32_t>(block.size());
    block.append(name);
    block.push_back('\0');
    return start;
  }
  void Add(std::string_view name) { starts.push_back(Put(name)); }
  // The names put at these starts are the ones returned, in this order.
  void SetOrder(std::vector<std::uint32_t> order) { starts = std::move(order); }
  void Reserve(size_t count, size_t bytes) {
    starts.reserve(count);
    block.reserve(bytes + count);
  }
  const char* At(std::uint32_t start) const { return block.data() + start; }
  size_t Size() const { return starts.size(); }
  const char* operator[](size_t i) const { return At(starts[i]); }

 private:
  static constexpr std::size_t kNoRoom = 0xFFFFFFFF - 16;
  std::string block;
  std::vector<std::uint32_t> starts;
};

// A search's result: its names, in the order FindNextFileA returns them,
// fixed when the search starts, so it walks a fixed list even while the
// folder changes under it. Each entry's status is asked for only when the
// search reaches it: a search of a large folder holds its names alone, and
// an entry gone by then is not found.
struct FindSearch : KernelObject {
  host::Descriptor folder;                      // where the entries' statuses are asked
  PackedNames names;
  PackedNames shortNames;                       // beside names; empty when none are returned
  std::optional<host::FileStatus> firstStatus;  // the first entry's, where the search learnt it
  bool foldersOnly = false;                     // only directories are found
  size_t next = 0;

  // The next entry that is there (a folder, where only folders are found);
  // false at the end.
  bool Next(WIN32_FIND_DATAA* data) {
    while (next < names.Size()) {
      size_t i = next++;
      host::FileStatus status;
      if (i == 0 && firstStatus) status = *firstStatus;
      else if (!host::StatInFolder(folder, names[i], &status)) continue;  // gone, or a dangling link
      if (foldersOnly && !status.isDirectory) continue;
      Fill(names[i], i < shortNames.Size() ? shortNames[i] : "", AttributeDataOf(names[i], status), data);
      return true;
    }
    return false;
  }

 private:
  static void Fill(std::string_view name, std::string_view shortName, const WIN32_FILE_ATTRIBUTE_DATA& found,
                   WIN32_FIND_DATAA* data) {
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = found.dwFileAttributes;
    data->ftCreationTime = found.ftCreationTime;
    data->ftLastAccessTime = found.ftLastAccessTime;
    data->ftLastWriteTime = found.ftLastWriteTime;
    data->nFileSizeHigh = found.nFileSizeHigh;
    data->nFileSizeLow = found.nFileSizeLow;
    CopyName(name, data->cFileName, sizeof data->cFileName);
    CopyName(shortName, data->cAlternateFileName, sizeof data->cAlternateFileName);
  }

  static void CopyName(std::string_view name, char* field, size_t fieldSize) {
    size_t length = std::min(name.size(), fieldSize - 1);
    std::memcpy(field, name.data(), length);
    field[length] = '\0';
  }
};

// A folder that cannot be listed is a missing path to the search.
DWORD FolderError(int hostErrno) {
  if (hostErrno == ENOENT || hostErrno == ENOTDIR) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return ERROR_PATH_NOT_FOUND;
  }
  return SetLastErrorFromErrno(hostErrno);
}

struct SearchOptions {
  bool shortNames = true;    // else every entry's is left empty
  bool foldersOnly = false;  // only directories are found
};

DWORD SearchPattern(const ResolvedPath& folder, const std::string& pattern, const SearchOptions& options,
                    FindSearch* search) {
  // The folder is opened once: each entry's status is then asked for by
  // its name alone.
  search->folder = host::OpenFolder(folder.host);
  const host::Descriptor& dir = search->folder;
  // The names go straight into the search's block, in the folder's own
  // order; the order they are returned in is laid over them at the end.
  PackedNames& names = search->names;
  NamePattern matcher(pattern);
  // A pattern may match a name by its short name, so they are made also
  // where they are not returned, unless the pattern matches every name.
  const bool matchesAll = pattern == "*" || pattern == "*.*";
  const bool shortNamesNeeded = options.shortNames || !matchesAll;
  std::vector<std::uint32_t> listed;  // where each name starts, in the folder's order
  // Beside listed, in a search for folders: the entries known to be none,
  // kept only for the short names.
  std::vector<bool> noFolder;
  bool fits = true;
  const bool read = dir && VisitWindowsNames(dir, [&](std::string_view name, host::EntryType type) {
    // What the folder's own listing knows to be no folder needs no status.
    // It is passed over here unless short names are made: they depend on
    // every name in the folder, files too.
    const bool mayBeFolder = host::MayBeFolder(type);
    if (options.foldersOnly && !mayBeFolder && !shortNamesNeeded) return;
    fits = fits && names.Fits(name);
    if (!fits) return;
    listed.push_back(names.Put(name));
    if (options.foldersOnly) noFolder.push_back(!mayBeFolder);
  });
  if (!read) return FolderError(errno);
  if (!fits) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  search->foldersOnly = options.foldersOnly;
  std::vector<std::string> shortNames;
  if (shortNamesNeeded) {
    std::vector<std::string> longNames;
    longNames.reserve(listed.size());
    for (std::uint32_t start : listed) longNames.emplace_back(names.At(start));
    shortNames = AssignShortNames(longNames);
  }
  // The order of a Windows volume: by name, ignoring case. Each name is
  // upper-cased once, into one block: in a folder of thousands of names
  // that share their first letters (file0001.dat, file0002.dat...) the
  // sort's comparisons are then of bytes, not of names cased anew each
  // time. The first bytes of each upper-case name settle most of them; the
  // rest compare as NUL-ended strings, which order as the names' bytes do.
  struct SortKey {
    std::uint64_t prefix;
    std::uint32_t upper;  // where the name's upper-case form starts in `upper`
    std::uint32_t name;   // the name's place in `listed`
  };
  std::string upper;  // the upper-case names one after another, each ended by a NUL
  std::vector<SortKey> order;
  order.reserve(listed.size());
  for (size_t i = 0; i < listed.size(); ++i) {
    if (options.foldersOnly && noFolder[i]) continue;
    const char* name = names.At(listed[i]);
    if (!matchesAll && !matcher.Matches(name) && (shortNames[i].empty() || !matcher.Matches(shortNames[i])))
      continue;
    order.push_back({UpcasePrefixKey(name), static_cast<std::uint32_t>(upper.size()), static_cast<std::uint32_t>(i)});
    upper += UpcaseName(name);
    upper.push_back('\0');
  }
  std::sort(order.begin(), order.end(), [&](const SortKey& a, const SortKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const int byUpper = std::strcmp(upper.data() + a.upper, upper.data() + b.upper);
    return byUpper != 0 ? byUpper < 0 : std::strcmp(names.At(listed[a.name]), names.At(listed[b.name])) < 0;
  });
  std::string().swap(upper);
  // Every folder but a drive's root begins with "." and "..".
  const bool dots = !folder.isDriveRoot;
  std::vector<std::uint32_t> returned;
  returned.reserve(order.size() + (dots ? 2 : 0));
  if (options.shortNames) search->shortNames.Reserve(returned.capacity(), returned.capacity() * 12);  // 8.3 at the most
  for (const char* dot : {".", ".."}) {
    if (!dots || !matcher.Matches(dot)) continue;
    returned.push_back(names.Put(dot));
    if (options.shortNames) search->shortNames.Add("");
  }
  for (const SortKey& key : order) {
    returned.push_back(listed[key.name]);
    if (options.shortNames) search->shortNames.Add(shortNames[key.name]);
  }
  names.SetOrder(std::move(returned));
  return ERROR_SUCCESS;
}

DWORD SearchName(const ResolvedPath& folder, const std::string& name, const SearchOptions& options,
                 FindSearch* search) {
  const host::FileStatus* folderStatus = folder.status && folder.status->isDirectory ? &*folder.status : nullptr;
  std::optional<host::FileStatus> known;
  bool indexAnswered = false;
  std::optional<std::string> entry = LookUpEntry(folder.host, name, folderStatus, &known, &indexAnswered);
  host::FileStatus status;
  if (!entry) {
    // A name missing from a folder whose index answered is a missing file
    // (the index answers only for a folder that is there); otherwise the
    // folder itself may be what is missing.
    bool isFolder = folderStatus || indexAnswered || (host::StatPath(folder.host, &status) && status.isDirectory);
    DWORD error = isFolder ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    SetLastError(error);
    return error;
  }
  std::string hostPath = JoinHostPath(folder.host, *entry);
  if (known) status = *known;
  else if (!host::StatPath(hostPath, &status)) return SetLastErrorFromErrno(errno, hostPath);
  if (options.foldersOnly && !status.isDirectory) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  // Only a name that is not 8.3 has a short name, and it depends on its
  // neighbours.
  std::string shortName = !options.shortNames || IsShortName(*entry) ? std::string()
                                                                      : ShortNameOfEntry(folder.host, *entry, folderStatus);
  search->names.Add(*entry);
  if (options.shortNames) search->shortNames.Add(shortName);
  search->firstStatus = status;
  return ERROR_SUCCESS;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
  return FindFirstFileExA(fileName, FindExInfoStandard, findData, FindExSearchNameMatch, nullptr, 0);
}

HANDLE FindFirstFileExA(LPCSTR fileName, FINDEX_INFO_LEVELS infoLevel, LPVOID findDataOut, FINDEX_SEARCH_OPS searchOp,
                        LPVOID searchFilter, DWORD additionalFlags) {
  auto* findData = static_cast<LPWIN32_FIND_DATAA>(findDataOut);
  if (!fileName || !findData || searchFilter || additionalFlags ||
      (infoLevel != FindExInfoStandard && infoLevel != FindExInfoBasic) ||
      (searchOp != FindExSearchNameMatch && searchOp != FindExSearchLimitToDirectories)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  SearchOptions options;
  options.shortNames = infoLevel == FindExInfoStandard;
  options.foldersOnly = searchOp == FindExSearchLimitToDirectories;
  SearchTarget target = SplitSearchPath(fileName);
  if (target.error != ERROR_SUCCESS) {
    SetLastError(target.error);
    return INVALID_HANDLE_VALUE;
  }
  ResolvedPath folder = ResolvePath(target.directory);
  if (folder.error != ERROR_SUCCESS) {
    SetLastError(folder.error);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<FindSearch>();
  DWORD error = HasWildcards(target.pattern) ? SearchPattern(folder, target.pattern, options, search.get())
                                             : SearchName(folder, target.pattern, options, search.get());
  if (error != ERROR_SUCCESS) return INVALID_HANDLE_VALUE;
  if (!search->Next(findData)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return InsertHandle(std::move(search));
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
  auto* search = LookupHandle<FindSearch>(findFile);
  if (!search || !findData) {
    SetLastError(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!search->Next(findData)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  if (!LookupHandle<FindSearch>(findFile) || !CloseObject(findFile)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
