// Tree operations: everything is seen through the platform's directory
// search, one search open at a time, so the rules of the search (a name with
// a trailing backslash is never found, "." and ".." come first) hold here too.
// Only the short and long name conversions read short names; every other
// search leaves them out, which changes nothing else it finds.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "install/service/Service.h"
#include "platform/kernel/Crt.h"
#include "platform/kernel/FileApi.h"

namespace {

bool IsDirectoryEntry(const WIN32_FIND_DATAA& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Searches for a single name and keeps the first entry found. Most callers
// never read the short name, and a short name depends on the whole folder:
// the search leaves it out unless asked for.
bool FindFirstEntry(const std::string& name, WIN32_FIND_DATAA& entry, bool withShortName = false) {
  HANDLE search = FindFirstFileExA(name.c_str(), withShortName ? FindExInfoStandard : FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

struct DirectoryListing {
  std::vector<std::string> directories;  // "." and ".." included
  std::vector<std::string> files;
  std::uint64_t fileBytes = 0;
};

// Lists dir + "\*.*" and closes the search before the caller descends.
DirectoryListing ListDirectory(const std::string& dir, bool keepFileNames) {
  DirectoryListing listing;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileExA((dir + "\\*.*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return listing;
  do {
    if (IsDirectoryEntry(entry)) {
      listing.directories.emplace_back(entry.cFileName);
    } else {
      if (keepFileNames) listing.files.emplace_back(entry.cFileName);
      listing.fileBytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return listing;
}

// descent holds the folders from the walk's start down to dir's parent: a
// link back up to one of them is passed over, as the copy passes it over,
// instead of making the walk endless.
void AddTreeSize(const std::string& dir, std::uint64_t& total, std::vector<qm::kernel::FileIdentity>& descent) {
  if (!IsDirectory(dir)) return;
  const std::optional<qm::kernel::FileIdentity> self = qm::kernel::IdentifyFile(dir.c_str());
  if (self && std::find(descent.begin(), descent.end(), *self) != descent.end()) return;
  if (self) descent.push_back(*self);
  DirectoryListing listing = ListDirectory(dir, false);
  total += listing.fileBytes;
  for (const std::string& name : listing.directories)
    if (!IsDotEntry(name)) AddTreeSize(dir + "\\" + name, total, descent);
  if (self) descent.pop_back();
}

std::string AfterLastBackslash(const std::string& text) {
  std::size_t slash = text.rfind('\\');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

std::string RebuildPath(const std::string& path, std::string (*entryName)(const std::string&)) {
  std::string rest = path;
  std::string result;
  for (;;) {
    std::size_t slash = rest.rfind('\\');
    if (IsDirectory(rest))
      result = entryName(rest) + "\\" + result;
    else
      result = AfterLastBackslash(rest) + "\\" + result;
    if (slash == std::string::npos) break;
    rest.resize(slash);
  }
  if (!result.empty() && result.back() == '\\') result.pop_back();
  return result;
}

}  // namespace

bool FileExists(const std::string& name) {
  WIN32_FIND_DATAA entry{};
  return FindFirstEntry(name, entry);
}

bool IsDirectory(const char* name) {
  if (name == nullptr) return false;
  // The search takes a pattern as one and finds what it matches, but no
  // folder's name holds * or ?: a typed C:\Games\Q* names no directory.
  if (std::strpbrk(name, "*?") != nullptr) return false;
  WIN32_FIND_DATAA entry{};
  return FindFirstEntry(name, entry) && IsDirectoryEntry(entry);
}

bool CreateDirectoryPath(const std::string& path) {
  for (std::size_t i = 0; i < path.size(); ++i)
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
  return IsDirectory(path);
}

std::uint64_t GetDirectorySize64(const std::string& dir) {
  std::uint64_t total = 0;
  std::vector<qm::kernel::FileIdentity> descent;
  if (IsDirectory(dir)) AddTreeSize(dir, total, descent);
  return total;
}

std::int32_t GetDirectorySize(const std::string& dir) {
  // The low 32 bits of a sum of full sizes equal the wrapping sum of the
  // sizes' low 32 bits, so one walk serves both widths.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetDirectorySize64(dir)));
}

bool DeleteDirectoryTree(const std::string& dir) {
  if (!IsDirectory(dir)) return false;
  DirectoryListing listing = ListDirectory(dir, true);
  for (const std::string& name : listing.files) DeleteFileA((dir + "\\" + name).c_str());
  listing.files.clear();
  for (const std::string& name : listing.directories)
    if (!IsDotEntry(name)) DeleteDirectoryTree(dir + "\\" + name);
  return RemoveDirectoryA(dir.c_str()) != FALSE;
}

bool IsDirectoryEmpty(const std::string& dir) {
  int count = 0;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((dir + "\\*.*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      ++count;
    } while (count < 3 && FindNextFileA(search, &entry));
    FindClose(search);
  }
  return count < 3;
}

bool IsFileBusy(const std::string& name) {
  std::FILE* file = CrtOpenFile(name.c_str(), "r+");
  if (file == nullptr) return true;
  std::fclose(file);
  return false;
}

std::uint64_t GetFileWriteTime(const std::string& name) {
  WIN32_FIND_DATAA entry{};
  if (!FindFirstEntry(name, entry)) return 0;
  return (static_cast<std::uint64_t>(entry.ftLastWriteTime.dwHighDateTime) << 32) |
         entry.ftLastWriteTime.dwLowDateTime;
}

std::string GetShortEntryName(const std::string& name) {
  WIN32_FIND_DATAA entry{};
  if (!FindFirstEntry(name, entry, true)) return std::string();
  return entry.cAlternateFileName[0] != '\0' ? entry.cAlternateFileName : entry.cFileName;
}

std::string GetLongEntryName(const std::string& name) {
  WIN32_FIND_DATAA entry{};
  if (!FindFirstEntry(name, entry)) return std::string();
  return entry.cFileName;
}

std::string ToShortPath(const std::string& path) { return RebuildPath(path, GetShortEntryName); }

std::string ToLongPath(const std::string& path) { return RebuildPath(path, GetLongEntryName); }
