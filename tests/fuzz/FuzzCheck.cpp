#include "FuzzCheck.h"

#include <unistd.h>

#include <filesystem>

namespace qm::fuzz {

std::string UseScratchPrefix(const char* harness) {
  // In memory where the host has it: some harnesses write a file each run.
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string root = folder + "/quellmoor-fuzz-" + harness + "-" +
                     std::to_string(getpid());
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "/home");
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "/home/.local/share").c_str(), 1);
  setenv("QUELLMOOR_PREFIX", (root + "/prefix").c_str(), 1);
  setenv("QUELLMOOR_DISPLAY", "headless", 1);
  unsetenv("QUELLMOOR_SCRIPT");
  unsetenv("QUELLMOOR_SCREENSHOTS");
  // Removed again when the run ends normally; a crash leaves it for a look.
  static std::string kept;
  kept = root;
  std::atexit([] { std::filesystem::remove_all(kept); });
  return root;
}

}  // namespace qm::fuzz
