#include "platform/shell/Restart.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <sstream>
#include <string_view>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/FileLock.h"
#include "platform/shell/Privileges.h"

namespace {

std::string RecordPath() { return qm::kernel::PrefixRoot() + "/restart-pending"; }

// The record's count as written, held to 0 ... INT_MAX: the file is text
// anyone may have edited, and a number past an int's range is the largest.
int ReadCount(std::string_view digits) {
  long long value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error == std::errc::result_out_of_range) return digits.front() == '-' ? 0 : std::numeric_limits<int>::max();
  if (error != std::errc() || end == digits.data()) return 0;
  return static_cast<int>(std::clamp<long long>(value, 0, std::numeric_limits<int>::max()));
}

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
  // Read, counted and written under a lock that every process of the
  // prefix takes, threads of one process too (each opens the lock file
  // anew): two requests at once would both read one count and record one.
  qm::kernel::host::FileLock lock;
  if (!lock.Acquire(RecordPath() + ".lock")) {
    qm::kernel::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  qm::shell::PendingRestart pending = qm::shell::ReadPendingRestart();
  // The count stops at its largest value rather than turning negative.
  const int count = pending.count < std::numeric_limits<int>::max() ? pending.count + 1 : pending.count;
  std::ostringstream text;
  text << "count=" << count << "\naction=" << name << "\n";
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
    if (line.rfind("count=", 0) == 0) pending.count = ReadCount(std::string_view(line).substr(6));
    if (line.rfind("action=", 0) == 0) pending.action = line.substr(7);
  }
  return pending;
}

}  // namespace qm::shell
