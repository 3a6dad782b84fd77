// Directory searches: FindFirstFileA, FindNextFileA, FindClose.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/NamePattern.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/ShortName.h"
#include "platform/kernel/host/FileStatus.h"

namespace {

using namespace qm::kernel;

// The whole result is taken when the search starts, so FindNextFileA walks
// a fixed list even while the folder changes under it.
struct FindSearch : KernelObject {
  std::vector<WIN32_FIND_DATAA> entries;
  size_t next = 0;
};

void CopyName(const std::string& name, char* field, size_t fieldSize) {
  size_t length = std::min(name.size(), fieldSize - 1);
  std::memcpy(field, name.data(), length);
  field[length] = '\0';
}

WIN32_FIND_DATAA MakeFindData(const std::string& name, const std::string& shortName, const host::FileStatus& status) {
  WIN32_FIND_DATAA data;
  std::memset(&data, 0, sizeof data);
  WIN32_FILE_ATTRIBUTE_DATA found = AttributeDataOf(name, status);
  data.dwFileAttributes = found.dwFileAttributes;
  data.ftCreationTime = found.ftCreationTime;
  data.ftLastAccessTime = found.ftLastAccessTime;
  data.ftLastWriteTime = found.ftLastWriteTime;
  data.nFileSizeHigh = found.nFileSizeHigh;
  data.nFileSizeLow = found.nFileSizeLow;
  CopyName(name, data.cFileName, sizeof data.cFileName);
  CopyName(shortName, data.cAlternateFileName, sizeof data.cAlternateFileName);
  return data;
}

// A folder that cannot be listed is a missing path to the search.
DWORD FolderError(int hostErrno) {
  if (hostErrno == ENOENT || hostErrno == ENOTDIR) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return ERROR_PATH_NOT_FOUND;
  }
  return SetLastErrorFromErrno(hostErrno);
}

DWORD SearchPattern(const ResolvedPath& folder, const std::string& pattern, std::vector<WIN32_FIND_DATAA>* out) {
  std::vector<std::string> names;
  if (!ListWindowsNames(folder.host, &names)) return FolderError(errno);
  NamePattern matcher(pattern);
  host::FileStatus status;
  // Every folder but a drive's root begins with "." and "..".
  if (!folder.isDriveRoot) {
    if (matcher.Matches(".") && host::StatPath(folder.host, &status)) out->push_back(MakeFindData(".", "", status));
    if (matcher.Matches("..") && host::StatPath(JoinHostPath(folder.host, ".."), &status))
      out->push_back(MakeFindData("..", "", status));
  }
  std::vector<std::string> shortNames = AssignShortNames(names);
  std::vector<size_t> found;
  for (size_t i = 0; i < names.size(); ++i)
    if (matcher.Matches(names[i]) || (!shortNames[i].empty() && matcher.Matches(shortNames[i]))) found.push_back(i);
  // The order of a Windows volume: by name, ignoring case.
  std::vector<std::string> keys(names.size());
  for (size_t i : found) keys[i] = UpcaseName(names[i]);
  std::sort(found.begin(), found.end(), [&](size_t a, size_t b) {
    return keys[a] != keys[b] ? keys[a] < keys[b] : names[a] < names[b];
  });
  for (size_t i : found) {
    // An entry gone since the listing, or a dangling link, is not found.
    if (host::StatPath(JoinHostPath(folder.host, names[i]), &status))
      out->push_back(MakeFindData(names[i], shortNames[i], status));
  }
  if (out->empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

DWORD SearchName(const ResolvedPath& folder, const std::string& name, std::vector<WIN32_FIND_DATAA>* out) {
  std::optional<std::string> entry = LookUpEntry(folder.host, name);
  host::FileStatus status;
  if (!entry) {
    if (!host::StatPath(folder.host, &status) || !status.isDirectory) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return ERROR_PATH_NOT_FOUND;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  std::string hostPath = JoinHostPath(folder.host, *entry);
  if (!host::StatPath(hostPath, &status)) return SetLastErrorFromErrno(errno, hostPath);
  std::string shortName;
  std::vector<std::string> names;
  // Only a name that is not 8.3 has a short name, and it depends on its
  // neighbours.
  if (!IsShortName(*entry) && ListWindowsNames(folder.host, &names)) {
    std::vector<std::string> shortNames = AssignShortNames(names);
    auto it = std::find(names.begin(), names.end(), *entry);
    if (it != names.end()) shortName = shortNames[it - names.begin()];
  }
  out->push_back(MakeFindData(*entry, shortName, status));
  return ERROR_SUCCESS;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
  if (!fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
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
  DWORD error = HasWildcards(target.pattern) ? SearchPattern(folder, target.pattern, &search->entries)
                                             : SearchName(folder, target.pattern, &search->entries);
  if (error != ERROR_SUCCESS) return INVALID_HANDLE_VALUE;
  *findData = search->entries.front();
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
  *findData = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  if (!LookupHandle<FindSearch>(findFile) || !CloseObject(findFile)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
