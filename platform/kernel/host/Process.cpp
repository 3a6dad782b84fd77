// Host-specific: getpid, kill with signal 0, the password database, the /proc file system.
#include "platform/kernel/host/Process.h"

#include <pthread.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <optional>
#include <sstream>

#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FileStatus.h"

namespace qm::kernel::host {
namespace {

// A process may end while its /proc files are read; that gives a short or
// empty text here, never an exception out of the listing.
std::string ReadProcText(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return text;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExecutableName(const std::string& folder, const std::string& command) {
  std::string path;
  if (ReadLinkTarget(folder + "/exe", &path) && !path.empty()) {
    static constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0)
      path.resize(path.size() - kDeleted.size());
    return BaseName(path);
  }
  std::string arguments = ReadProcText(folder + "/cmdline");
  std::string first = arguments.substr(0, arguments.find('\0'));
  if (!first.empty()) return BaseName(first);
  return command;
}

std::optional<ProcessInfo> ReadProcess(int id) {
  std::string folder = "/proc/" + std::to_string(id);
  std::string stat = ReadProcText(folder + "/stat");
  // "pid (command) state ppid ..."; the command may hold spaces and
  // parentheses, so it runs to the last ')'.
  size_t open = stat.find('(');
  size_t close = stat.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
  std::string command = stat.substr(open + 1, close - open - 1);
  std::istringstream fields(stat.substr(close + 1));
  std::vector<std::string> values{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
  if (values.size() < 18) return std::nullopt;
  // A process that has ended but whose parent has not yet waited for it is
  // no running program: a Windows snapshot lists running processes only,
  // and one left so would pass for a running installer.
  if (values[0] == "Z" || values[0] == "X") return std::nullopt;
  ProcessInfo process;
  process.id = id;
  process.parentId = std::stoi(values[1]);
  process.threads = std::stoi(values[17]);
  process.executableName = ExecutableName(folder, command);
  return process;
}

bool IsProcessFolder(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (c < '0' || c > '9') return false;
  return true;
}

// Asked for by every file write: kept, and forgotten by a forked child,
// which is another process.
std::atomic<int> knownProcessId{0};

void ForgetProcessId() { knownProcessId.store(0, std::memory_order_relaxed); }

}  // namespace

int CurrentProcessId() {
  int id = knownProcessId.load(std::memory_order_relaxed);
  if (id != 0) return id;
  static const bool forgetInChildren = ::pthread_atfork(nullptr, nullptr, ForgetProcessId) == 0;
  id = static_cast<int>(::getpid());
  // Without the fork hook a child could not tell: then every call asks.
  if (forgetInChildren) knownProcessId.store(id, std::memory_order_relaxed);
  return id;
}

bool ProcessIsRunning(int id) {
  if (id <= 0) return false;
  int savedErrno = errno;
  bool running = ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
  errno = savedErrno;
  return running;
}

std::string ExecutablePath() {
  std::string path;
  return ReadLinkTarget("/proc/self/exe", &path) ? path : std::string();
}

std::string UserHomeFolder() {
  const passwd* entry = ::getpwuid(::getuid());
  return entry && entry->pw_dir ? std::string(entry->pw_dir) : std::string();
}

bool ListProcesses(std::vector<ProcessInfo>* processes) {
  std::vector<std::string> names;
  if (!ListFolder("/proc", &names)) return false;
  processes->clear();
  for (const std::string& name : names) {
    if (!IsProcessFolder(name)) continue;
    if (std::optional<ProcessInfo> process = ReadProcess(std::stoi(name))) processes->push_back(*process);
  }
  return true;
}

}  // namespace qm::kernel::host
