// Requests to the shell as a program of the platform makes them, with a
// launcher that records what would go to the host's opener.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/ShellExecute.h"
#include "support/HostProbes.h"

namespace qm::test {

inline SHELLEXECUTEINFOA Request(const char* file, const char* parameters = nullptr, const char* directory = nullptr,
                                 ULONG mask = SEE_MASK_NOCLOSEPROCESS) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = SHELLEXECUTEINFOA_SIZE_32;
  info.fMask = mask;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.lpDirectory = directory;
  info.nShow = 1;
  return info;
}

inline std::intptr_t Instance(const SHELLEXECUTEINFOA& info) { return reinterpret_cast<std::intptr_t>(info.hInstApp); }

class ShellRequests : public testing::Test {
 protected:
  void SetUp() override {
    previous = qm::shell::SetLauncher([this](const qm::shell::HostCommand& command) {
      launched.push_back(command);
      return true;
    });
  }
  void TearDown() override { qm::shell::SetLauncher(std::move(previous)); }

  std::vector<qm::shell::HostCommand> launched;
  qm::shell::Launcher previous;
};

}  // namespace qm::test
