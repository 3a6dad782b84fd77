#include "platform/shell/Restart.h"

#include <cerrno>
#include <mutex>
#include <sstream>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/shell/Privileges.h"

namespace {

std::string RecordPath() { return qm::kernel::PrefixRoot() + "/restart-pending"; }

}  // namespace

BOOL ExitWindowsEx(UINT flags, DWORD reason) {
  (void)reason;
  const UINT action = flags & ~(EWX_FORCE | EWX_FORCEIFHUNG);
  const char* name;
  switch (action) {
    case EWX_LOGOFF: name = "logoff"; break;
    case EWX_SHUTDOWN: name = "shutdown"; break;
    case EWX_REBOOT: name = "reboot"; break;
    case EWX_POWEROFF:
    case EWX_POWEROFF | EWX_SHUTDOWN: name = "poweroff"; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (action != EWX_LOGOFF && !qm::shell::IsPrivilegeEnabled(SE_SHUTDOWN_NAME)) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  static std::mutex recordMutex;
  std::lock_guard<std::mutex> guard(recordMutex);
  qm::shell::PendingRestart pending = qm::shell::ReadPendingRestart();
  std::ostringstream text;
  text << "count=" << pending.count + 1 << "\naction=" << name << "\n";
  if (!qm::kernel::host::WriteFileAtomically(RecordPath(), text.str())) {
    qm::kernel::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

namespace qm::shell {

PendingRestart ReadPendingRestart() {
  PendingRestart pending;
  std::string text;
  if (!qm::kernel::host::ReadWholeFile(RecordPath(), &text)) return pending;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("count=", 0) == 0) pending.count = std::atoi(line.c_str() + 6);
    if (line.rfind("action=", 0) == 0) pending.action = line.substr(7);
  }
  return pending;
}

}  // namespace qm::shell
