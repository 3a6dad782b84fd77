// Ending the session. A restart is a restart of the Windows-like environment:
// it is recorded in the prefix (the file "restart-pending", which counts the
// requests and names the last one) for the environment to act on; the host
// is never shut down or rebooted.
#pragma once

#include <string>

#include "platform/kernel/WinTypes.h"

constexpr UINT EWX_LOGOFF = 0x00000000;
constexpr UINT EWX_SHUTDOWN = 0x00000001;
constexpr UINT EWX_REBOOT = 0x00000002;
constexpr UINT EWX_FORCE = 0x00000004;
constexpr UINT EWX_POWEROFF = 0x00000008;
constexpr UINT EWX_FORCEIFHUNG = 0x00000010;

// Shutting down, restarting or powering off needs the shutdown privilege
// enabled in the process token; without it: FALSE, ERROR_PRIVILEGE_NOT_HELD.
BOOL ExitWindowsEx(UINT flags, DWORD reason);

namespace qm::shell {
struct PendingRestart {
  int count = 0;       // requests recorded since the prefix was made
  std::string action;  // the last one: "logoff", "shutdown", "reboot", "poweroff"
};
PendingRestart ReadPendingRestart();
}  // namespace qm::shell
