// The process token and its privileges. Which privileges the account holds
// is a setting of the prefix: every privilege is held unless the value named
// after it under HKEY_LOCAL_MACHINE\System\Platform\Privileges is the DWORD 0.
// Enabling one that is not held succeeds with ERROR_NOT_ALL_ASSIGNED, as on
// the original platform.
#pragma once

#include <string>

#include "platform/kernel/WinTypes.h"

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};
using PLUID = LUID*;

struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};

constexpr DWORD ANYSIZE_ARRAY = 1;

struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[ANYSIZE_ARRAY];
};
using PTOKEN_PRIVILEGES = TOKEN_PRIVILEGES*;
static_assert(sizeof(TOKEN_PRIVILEGES) == 16);

using PHANDLE = HANDLE*;

constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;

constexpr DWORD SE_PRIVILEGE_ENABLED_BY_DEFAULT = 0x00000001;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;

#define SE_SHUTDOWN_NAME "SeShutdownPrivilege"

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token);
BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, PLUID luid);
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAllPrivileges, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                           PTOKEN_PRIVILEGES previousState, LPDWORD returnLength);

namespace qm::shell {
// Whether the account holds the privilege (by name), from the prefix.
bool IsPrivilegeHeld(const std::string& name);
// Records in the prefix whether the account holds the privilege.
bool SetPrivilegeHeld(const std::string& name, bool held);
// Whether the privilege is enabled in this process's token.
bool IsPrivilegeEnabled(const std::string& name);
}  // namespace qm::shell
