#include "platform/shell/Privileges.h"

#include <mutex>
#include <set>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

namespace {

constexpr const char* kPrivilegeKey = "System\\Platform\\Privileges";

// The locally unique identifiers the original platform gives them.
const struct {
  const char* name;
  DWORD luid;
} kPrivileges[] = {
    {"SeCreateTokenPrivilege", 2},     {"SeAssignPrimaryTokenPrivilege", 3},
    {"SeLockMemoryPrivilege", 4},      {"SeIncreaseQuotaPrivilege", 5},
    {"SeMachineAccountPrivilege", 6},  {"SeTcbPrivilege", 7},
    {"SeSecurityPrivilege", 8},        {"SeTakeOwnershipPrivilege", 9},
    {"SeLoadDriverPrivilege", 10},     {"SeSystemProfilePrivilege", 11},
    {"SeSystemtimePrivilege", 12},     {"SeProfileSingleProcessPrivilege", 13},
    {"SeIncreaseBasePriorityPrivilege", 14}, {"SeCreatePagefilePrivilege", 15},
    {"SeCreatePermanentPrivilege", 16}, {"SeBackupPrivilege", 17},
    {"SeRestorePrivilege", 18},        {"SeShutdownPrivilege", 19},
    {"SeDebugPrivilege", 20},          {"SeAuditPrivilege", 21},
    {"SeSystemEnvironmentPrivilege", 22}, {"SeChangeNotifyPrivilege", 23},
    {"SeRemoteShutdownPrivilege", 24}, {"SeUndockPrivilege", 25},
};

const char* NameOf(const LUID& luid) {
  if (luid.HighPart != 0) return nullptr;
  for (const auto& p : kPrivileges)
    if (p.luid == luid.LowPart) return p.name;
  return nullptr;
}

// The process's one token: handles opened on it share its state.
std::mutex tokenMutex;
std::set<DWORD> enabledPrivileges;

struct TokenObject : qm::kernel::KernelObject {
  explicit TokenObject(DWORD access) : access(access) {}
  DWORD access;
};

}  // namespace

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token) {
  if (!token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (process != GetCurrentProcess()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *token = qm::kernel::InsertHandle(std::make_unique<TokenObject>(desiredAccess));
  return TRUE;
}

BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, PLUID luid) {
  (void)systemName;
  if (!name || !luid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (const auto& p : kPrivileges) {
    if (qm::registry::EqualsIgnoreCase(p.name, name)) {
      *luid = LUID{p.luid, 0};
      return TRUE;
    }
  }
  SetLastError(ERROR_NO_SUCH_PRIVILEGE);
  return FALSE;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAllPrivileges, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                           PTOKEN_PRIVILEGES previousState, LPDWORD returnLength) {
  auto* object = qm::kernel::LookupHandle<TokenObject>(token);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!(object->access & TOKEN_ADJUST_PRIVILEGES) || (previousState && !(object->access & TOKEN_QUERY))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!disableAllPrivileges && !newState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }

  std::lock_guard<std::mutex> guard(tokenMutex);
  std::set<DWORD> before = enabledPrivileges;
  bool notAllAssigned = false;
  if (disableAllPrivileges) {
    enabledPrivileges.clear();
  } else {
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& entry = newState->Privileges[i];
      const char* name = NameOf(entry.Luid);
      if (!name || !qm::shell::IsPrivilegeHeld(name)) {
        notAllAssigned = true;
        continue;
      }
      if (entry.Attributes & SE_PRIVILEGE_ENABLED)
        enabledPrivileges.insert(entry.Luid.LowPart);
      else
        enabledPrivileges.erase(entry.Luid.LowPart);
    }
  }

  if (previousState) {
    std::vector<DWORD> changed;
    for (const auto& p : kPrivileges)
      if (before.count(p.luid) != enabledPrivileges.count(p.luid)) changed.push_back(p.luid);
    DWORD needed = static_cast<DWORD>(sizeof(DWORD) + changed.size() * sizeof(LUID_AND_ATTRIBUTES));
    if (returnLength) *returnLength = needed;
    if (bufferLength < needed) {
      enabledPrivileges = before;
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    previousState->PrivilegeCount = static_cast<DWORD>(changed.size());
    for (std::size_t i = 0; i < changed.size(); ++i)
      previousState->Privileges[i] = {{changed[i], 0}, before.count(changed[i]) ? SE_PRIVILEGE_ENABLED : 0u};
  }
  SetLastError(notAllAssigned ? ERROR_NOT_ALL_ASSIGNED : ERROR_SUCCESS);
  return TRUE;
}

namespace qm::shell {

bool IsPrivilegeHeld(const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrivilegeKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return true;
  DWORD type = 0, value = 1, size = sizeof value;
  LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return !(result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value && value == 0);
}

bool SetPrivilegeHeld(const std::string& name, bool held) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPrivilegeKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  DWORD value = held ? 1 : 0;
  LONG result = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool IsPrivilegeEnabled(const std::string& name) {
  LUID luid;
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) return false;
  std::lock_guard<std::mutex> guard(tokenMutex);
  return enabledPrivileges.count(luid.LowPart) != 0;
}

}  // namespace qm::shell
