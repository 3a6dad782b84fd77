// System queries: version, well-known folders, the module file name.
#pragma once

#include <string>

#include "platform/kernel/WinTypes.h"

// Bit 31 clear: the NT family.
DWORD GetVersion();
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);
HMODULE GetModuleHandleA(LPCSTR moduleName);
// The Windows path of the running executable, for example Z:\home\me\medium\setup.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

HANDLE GetCurrentProcess();
DWORD GetCurrentProcessId();

namespace qm::kernel {
// Lets tests (and a launcher) name the executable that GetModuleFileNameA
// reports, as a Windows path. An empty string restores the real one.
void SetModuleFileNameOverride(const std::string& windowsPath);
}  // namespace qm::kernel
