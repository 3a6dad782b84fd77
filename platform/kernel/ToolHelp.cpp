// The process snapshot. Host-specific: reads /proc.
#include "platform/kernel/ToolHelp.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"

namespace {

using namespace qm::kernel;

struct ProcessSnapshot : KernelObject {
  std::vector<PROCESSENTRY32> entries;
  size_t next = 0;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The executable's file name: from its link, else from the first argument
// the process was started with, else the kernel's short command name.
std::string ExecutableName(const std::string& folder, const std::string& command) {
  char target[4096];
  ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target - 1);
  if (length > 0) {
    std::string path(target, static_cast<size_t>(length));
    static constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0)
      path.resize(path.size() - kDeleted.size());
    return BaseName(path);
  }
  std::string arguments = ReadWhole(folder + "/cmdline");
  std::string first = arguments.substr(0, arguments.find('\0'));
  if (!first.empty()) return BaseName(first);
  return command;
}

std::optional<PROCESSENTRY32> ReadProcess(DWORD pid) {
  std::string folder = "/proc/" + std::to_string(pid);
  std::string stat = ReadWhole(folder + "/stat");
  // "pid (command) state ppid ..."; the command may hold spaces and
  // parentheses, so it runs to the last ')'.
  size_t open = stat.find('(');
  size_t close = stat.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
  std::string command = stat.substr(open + 1, close - open - 1);
  std::istringstream fields(stat.substr(close + 1));
  std::vector<std::string> values{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
  if (values.size() < 18) return std::nullopt;

  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof entry);
  entry.dwSize = sizeof entry;
  entry.th32ProcessID = pid;
  entry.th32ParentProcessID = static_cast<DWORD>(std::stoul(values[1]));
  entry.cntThreads = static_cast<DWORD>(std::stoul(values[17]));
  entry.pcPriClassBase = 8;  // normal priority class
  std::string name = ExecutableName(folder, command);
  std::strncpy(entry.szExeFile, name.c_str(), sizeof entry.szExeFile - 1);
  return entry;
}

bool IsProcessFolder(const char* name) {
  if (!*name) return false;
  for (const char* c = name; *c; ++c)
    if (*c < '0' || *c > '9') return false;
  return true;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
  auto snapshot = std::make_unique<ProcessSnapshot>();
  if (flags & TH32CS_SNAPPROCESS) {
    DIR* proc = opendir("/proc");
    if (!proc) {
      SetLastErrorFromErrno(errno);
      return INVALID_HANDLE_VALUE;
    }
    while (const dirent* entry = readdir(proc)) {
      if (!IsProcessFolder(entry->d_name)) continue;
      // A process that ends while it is being read is left out.
      if (auto process = ReadProcess(static_cast<DWORD>(std::stoul(entry->d_name))))
        snapshot->entries.push_back(*process);
    }
    closedir(proc);
    std::sort(snapshot->entries.begin(), snapshot->entries.end(),
              [](const PROCESSENTRY32& a, const PROCESSENTRY32& b) { return a.th32ProcessID < b.th32ProcessID; });
  }
  return InsertHandle(std::move(snapshot));
}

namespace {

BOOL NextEntry(HANDLE snapshotHandle, LPPROCESSENTRY32 entry, bool first) {
  auto* snapshot = LookupHandle<ProcessSnapshot>(snapshotHandle);
  if (!snapshot) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!entry || entry->dwSize != sizeof(PROCESSENTRY32)) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  if (first) snapshot->next = 0;
  if (snapshot->next >= snapshot->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *entry = snapshot->entries[snapshot->next++];
  return TRUE;
}

}  // namespace

BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, true); }

BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, false); }
