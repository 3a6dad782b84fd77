// Every test program starts here. Before any test runs, the process gets a
// fresh temporary home and data folder, so no test ever touches the real
// home directory, and every test gets a prefix of its own: ctest runs each
// test in a process of its own, but a program run by hand runs them all in
// one, and what one test left in drive C must not be seen by the next.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/kernel/Prefix.h"
#include "support/TempDir.h"

namespace {

class PrefixPerTest : public testing::EmptyTestEventListener {
 public:
  explicit PrefixPerTest(std::string folder) : folder(std::move(folder)) {}

  void OnTestStart(const testing::TestInfo&) override {
    const std::string prefix = folder + "/prefix-" + std::to_string(++tests);
    setenv("QUELLMOOR_PREFIX", prefix.c_str(), 1);
    qm::kernel::SetPrefixRoot(prefix);
  }

 private:
  std::string folder;
  int tests = 0;
};

}  // namespace

int main(int argc, char** argv) {
  qm::test::TempDir root("quellmoor-test");
  const std::string home = root.Path() + "/home";
  std::filesystem::create_directories(home);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  // What runs before the first test (a suite's set-up) has a prefix too.
  setenv("QUELLMOOR_PREFIX", (root.Path() + "/prefix").c_str(), 1);
  setenv("QUELLMOOR_DISPLAY", "headless", 1);
  setenv("QUELLMOOR_SOURCE_DIR", QM_SOURCE_DIR, 0);
  setenv("QUELLMOOR_BUILD_DIR", QM_BUILD_DIR, 0);
  unsetenv("QUELLMOOR_SCRIPT");
  unsetenv("QUELLMOOR_SCREENSHOTS");
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new PrefixPerTest(root.Path()));
  return RUN_ALL_TESTS();
}
