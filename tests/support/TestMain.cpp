// Every test program starts here. Before any test runs, the process gets a
// fresh temporary home, data folder and prefix, so no test ever touches the
// real home directory and each test process has a prefix of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

int main(int argc, char** argv) {
  qm::test::TempDir root("quellmoor-test");
  const std::string home = root.Path() + "/home";
  std::filesystem::create_directories(home);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  setenv("QUELLMOOR_PREFIX", (root.Path() + "/prefix").c_str(), 1);
  setenv("QUELLMOOR_DISPLAY", "headless", 1);
  setenv("QUELLMOOR_SOURCE_DIR", QM_SOURCE_DIR, 0);
  setenv("QUELLMOOR_BUILD_DIR", QM_BUILD_DIR, 0);
  unsetenv("QUELLMOOR_SCRIPT");
  unsetenv("QUELLMOOR_SCREENSHOTS");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
