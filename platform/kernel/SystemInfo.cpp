// System queries: version, folders, the module name, the process id.
#include "platform/kernel/SystemInfo.h"

#include <cstring>
#include <mutex>

#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/Process.h"

namespace {

// The program's own module sits where a 32-bit executable is loaded.
const HMODULE kOwnModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x00400000));

std::mutex overrideMutex;
std::string moduleFileNameOverride;

std::string ModuleFileName() {
  {
    std::lock_guard lock(overrideMutex);
    if (!moduleFileNameOverride.empty()) return moduleFileNameOverride;
  }
  std::string executable = qm::kernel::host::ExecutablePath();
  return executable.empty() ? std::string() : qm::kernel::HostToWindowsPath(executable);
}

std::string FileNamePart(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

// Windows buffer rule: the length without the terminator when the text fits,
// else the size needed with it.
UINT CopyOut(const std::string& text, LPSTR buffer, UINT size) {
  if (!buffer || size <= text.size()) return static_cast<UINT>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<UINT>(text.size());
}

}  // namespace

DWORD GetVersion() {
  // 5.0, build 2195: major in the low byte, minor above it, the build in the
  // high word with bit 31 clear for the NT family.
  return (2195u << 16) | (0u << 8) | 5u;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  qm::kernel::PrefixRoot();
  return CopyOut("C:\\Windows", buffer, size);
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
  qm::kernel::PrefixRoot();
  return CopyOut("C:\\Windows\\Temp\\", buffer, bufferLength);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (!moduleName) return kOwnModule;
  std::string wanted = FileNamePart(moduleName);
  std::string own = FileNamePart(ModuleFileName());
  // A module is named with or without its ".exe".
  if (!own.empty() && (qm::kernel::NamesEqualIgnoringCase(wanted, own) ||
                       qm::kernel::NamesEqualIgnoringCase(wanted, own + ".exe") ||
                       qm::kernel::NamesEqualIgnoringCase(wanted + ".exe", own)))
    return kOwnModule;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if (module && module != kOwnModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  std::string path = ModuleFileName();
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() < size) {
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
  }
  // Too small: as much as fits, terminated, and the full size as the answer.
  std::memcpy(fileName, path.data(), size - 1);
  fileName[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(qm::kernel::host::CurrentProcessId()); }

namespace qm::kernel {

void SetModuleFileNameOverride(const std::string& windowsPath) {
  std::lock_guard lock(overrideMutex);
  moduleFileNameOverride = windowsPath;
}

}  // namespace qm::kernel
