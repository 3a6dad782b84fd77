// A host program copied under a chosen name and kept running until the end
// of the scope: it stands for an installer of that name that is already
// running.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace qm::test {

class RunningCopy {
 public:
  RunningCopy(const std::string& folder, const std::string& name) {
    const std::string path = folder + "/" + name;
    std::filesystem::copy_file("/bin/sleep", path, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::vector<char*> argv{const_cast<char*>(name.c_str()), const_cast<char*>("600"), nullptr};
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid = -1;
  }
  ~RunningCopy() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;
  bool Started() const { return pid > 0; }

 private:
  pid_t pid = -1;
};

}  // namespace qm::test
