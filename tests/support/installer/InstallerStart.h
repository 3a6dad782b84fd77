// The installer's settings as they are built at its start, for tests that
// start it under a path of their choosing, and the names that keep a test's
// installer from meeting another test's.
#pragma once

#include <unistd.h>

#include <string>

#include "install/settings/InstallationSettings.h"
#include "platform/kernel/SystemInfo.h"

namespace qm::test {

// The settings built afresh, as at the start of an installer run from exePath.
inline InstallationSettings& StartedAs(const std::string& exePath) {
  qm::kernel::SetModuleFileNameOverride(exePath);
  InstallationSettings::Reset();
  return Settings();
}

// Undoes StartedAs: the next test builds its settings from nothing.
inline void ForgetStart() {
  qm::kernel::SetModuleFileNameOverride("");
  InstallationSettings::Reset();
}

// A name unique to this test process, short enough for any process table.
inline std::string UniqueName(const std::string& stem = "qmsetup") { return stem + std::to_string(getpid()); }

}  // namespace qm::test
