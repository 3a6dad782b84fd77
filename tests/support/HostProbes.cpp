#include "support/HostProbes.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/kernel/Prefix.h"

namespace qm::test {

std::optional<int> NiceIn(const std::string& statPath) {
  std::ifstream file(statPath);
  std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // "pid (command) state ...": the command may hold blanks, so the fields
  // are counted from its closing parenthesis; the nice value is field 19.
  std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::vector<std::string> values{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
  if (values.size() < 17) return std::nullopt;
  return std::stoi(values[16]);
}

std::optional<int> NiceOfProcess(int pid) { return NiceIn("/proc/" + std::to_string(pid) + "/stat"); }

namespace {

int CountEntriesWhere(const std::string& folder, const std::function<bool(const std::filesystem::path&)>& counted) {
  std::error_code error;
  int count = 0;
  for (auto it = std::filesystem::directory_iterator(folder, error); !error && it != std::filesystem::directory_iterator();
       it.increment(error))
    if (counted(it->path())) ++count;
  return count;
}

bool Every(const std::filesystem::path&) { return true; }

// The listing holds a descriptor of its own while it reads.
int DescriptorsWhere(const std::function<bool(const std::filesystem::path&)>& counted) {
  return CountEntriesWhere("/proc/self/fd", counted) - 1;
}

}  // namespace

int CountEntries(const std::string& folder) {
  return CountEntriesWhere(folder, Every);
}

int OpenDescriptors() {
  return DescriptorsWhere(Every);
}

int OpenDescriptorsBesideChildren() {
  return DescriptorsWhere([](const std::filesystem::path& entry) {
    std::error_code unread;
    return std::filesystem::read_symlink(entry, unread).string() != "anon_inode:[pidfd]";
  });
}

int Threads() { return CountEntries("/proc/self/task"); }

void StartRuntimeHelpers() { std::thread([] {}).join(); }

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

bool MayRaisePriority() {
  pid_t child = fork();
  if (child == 0) _exit(setpriority(PRIO_PROCESS, 0, -10) == 0 ? 0 : 1);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool GiveUpRaisingPriority() {
  rlimit none{0, 0};
  if (setrlimit(RLIMIT_NICE, &none) != 0) return false;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  // The capability's bit is in the first word of the sets.
  static_assert(CAP_SYS_NICE < 32);
  data[0].effective &= ~(1u << CAP_SYS_NICE);
  data[0].permitted &= ~(1u << CAP_SYS_NICE);
  return syscall(SYS_capset, &header, data) == 0 && !MayRaisePriority();
}

std::string HostPathOf(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

bool WriteScript(const std::string& windowsPath, const std::string& body) {
  const std::filesystem::path host = HostPathOf(windowsPath);
  std::error_code error;
  std::filesystem::create_directories(host.parent_path(), error);
  {
    std::ofstream file(host);
    file << "#!/bin/sh\n" << body << "\n";
    if (!file) return false;
  }
  return chmod(host.c_str(), 0755) == 0;
}

HeldPipe::HeldPipe(const std::string& windowsPath) : path(HostPathOf(windowsPath)) {
  if (mkfifo(path.c_str(), 0600) == 0) fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
}

HeldPipe::~HeldPipe() {
  if (fd >= 0) close(fd);
  unlink(path.c_str());
}

bool HeldPipe::Write(const std::string& text) {
  return write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::string HeldPipe::ReadLine() {
  std::string line;
  char c;
  pollfd ready{fd, POLLIN, 0};
  while (poll(&ready, 1, 5000) == 1 && read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

RecordingLauncher::RecordingLauncher()
    : previous(qm::shell::SetLauncher([this](const qm::shell::HostCommand& command) {
        launched.push_back(command);
        return works;
      })) {}

RecordingLauncher::~RecordingLauncher() { qm::shell::SetLauncher(std::move(previous)); }

}  // namespace qm::test
