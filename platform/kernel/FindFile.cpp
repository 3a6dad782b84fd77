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

// One entry of a search's result, kept compact: a search of a large folder
// holds tens of thousands of them.
struct FoundEntry {
  std::string name;
  std::string shortName;
  WIN32_FILE_ATTRIBUTE_DATA data;
};

// The whole result is taken when the search starts, so FindNextFileA walks
// a fixed list even while the folder changes under it.
struct FindSearch : KernelObject {
  std::vector<FoundEntry> entries;
  size_t next = 0;
};

void CopyName(const std::string& name, char* field, size_t fieldSize) {
  size_t length = std::min(name.size(), fieldSize - 1);
  std::memcpy(field, name.data(), length);
  field[length] = '\0';
}

FoundEntry MakeEntry(std::string name, std::string shortName, const host::FileStatus& status) {
  FoundEntry entry{std::move(name), std::move(shortName), {}};
  entry.data = AttributeDataOf(entry.name, status);
  return entry;
}

void FillFindData(const FoundEntry& entry, WIN32_FIND_DATAA* data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = entry.data.dwFileAttributes;
  data->ftCreationTime = entry.data.ftCreationTime;
  data->ftLastAccessTime = entry.data.ftLastAccessTime;
  data->ftLastWriteTime = entry.data.ftLastWriteTime;
  data->nFileSizeHigh = entry.data.nFileSizeHigh;
  data->nFileSizeLow = entry.data.nFileSizeLow;
  CopyName(entry.name, data->cFileName, sizeof data->cFileName);
  CopyName(entry.shortName, data->cAlternateFileName, sizeof data->cAlternateFileName);
}

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
                    std::vector<FoundEntry>* out) {
  // The folder is opened once: each entry's status is then asked for by
  // its name alone.
  host::Descriptor dir = host::OpenFolder(folder.host);
  std::vector<std::string> names;
  std::vector<bool> mayBeFolders;
  if (!dir || !ListWindowsNames(dir, &names, options.foldersOnly ? &mayBeFolders : nullptr)) return FolderError(errno);
  if (options.foldersOnly) {
    // What the folder's own listing knows to be no folder needs no status.
    size_t kept = 0;
    for (size_t i = 0; i < names.size(); ++i) {
      if (!mayBeFolders[i]) continue;
      if (kept != i) names[kept] = std::move(names[i]);
      ++kept;
    }
    names.resize(kept);
  }
  NamePattern matcher(pattern);
  host::FileStatus status;
  // Every folder but a drive's root begins with "." and "..".
  if (!folder.isDriveRoot) {
    if (matcher.Matches(".") && host::StatDescriptor(dir, &status)) out->push_back(MakeEntry(".", "", status));
    if (matcher.Matches("..") && host::StatInFolder(dir, "..", &status)) out->push_back(MakeEntry("..", "", status));
  }
  // A pattern may match a name by its short name, so they are made also
  // where they are not returned, unless the pattern matches every name.
  const bool matchesAll = pattern == "*" || pattern == "*.*";
  std::vector<std::string> shortNames =
      options.shortNames || !matchesAll ? AssignShortNames(names) : std::vector<std::string>(names.size());
  std::vector<size_t> found;
  for (size_t i = 0; i < names.size(); ++i)
    if (matchesAll || matcher.Matches(names[i]) || (!shortNames[i].empty() && matcher.Matches(shortNames[i])))
      found.push_back(i);
  // The order of a Windows volume: by name, ignoring case. The first bytes
  // of each upper-case name settle most comparisons.
  std::vector<std::pair<std::uint64_t, size_t>> order;
  order.reserve(found.size());
  for (size_t i : found) order.emplace_back(UpcasePrefixKey(names[i]), i);
  std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    int byName = CompareNamesIgnoringCase(names[a.second], names[b.second]);
    return byName != 0 ? byName < 0 : names[a.second] < names[b.second];
  });
  out->reserve(out->size() + order.size());
  for (auto [key, i] : order) {
    // An entry gone since the listing, or a dangling link, is not found.
    if (!host::StatInFolder(dir, names[i], &status) || (options.foldersOnly && !status.isDirectory)) continue;
    out->push_back(MakeEntry(std::move(names[i]), options.shortNames ? std::move(shortNames[i]) : std::string(), status));
  }
  if (out->empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

DWORD SearchName(const ResolvedPath& folder, const std::string& name, const SearchOptions& options,
                 std::vector<FoundEntry>* out) {
  const host::FileStatus* folderStatus = folder.status && folder.status->isDirectory ? &*folder.status : nullptr;
  std::optional<host::FileStatus> known;
  std::optional<std::string> entry = LookUpEntry(folder.host, name, folderStatus, &known);
  host::FileStatus status;
  if (!entry) {
    bool isFolder = folderStatus || (host::StatPath(folder.host, &status) && status.isDirectory);
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
  out->push_back(MakeEntry(*entry, std::move(shortName), status));
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
  DWORD error = HasWildcards(target.pattern) ? SearchPattern(folder, target.pattern, options, &search->entries)
                                             : SearchName(folder, target.pattern, options, &search->entries);
  if (error != ERROR_SUCCESS) return INVALID_HANDLE_VALUE;
  FillFindData(search->entries.front(), findData);
  search->next = 1;
  return InsertHandle(std::move(search));
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
  auto* search = LookupHandle<FindSearch>(findFile);
  if (!search || !findData) {
    SetLastError(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  FillFindData(search->entries[search->next++], findData);
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  if (!LookupHandle<FindSearch>(findFile) || !CloseObject(findFile)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
