#include "platform/directx/DirectXSetup.h"

#include <cerrno>
#include <filesystem>

#include "platform/directx/RuntimePackage.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/registry/Registry.h"

namespace {

using qm::directx::DirectXVersion;

constexpr const char* kDirectXKey = "Software\\Microsoft\\DirectX";

std::optional<DirectXVersion> InstalledVersion() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDirectXKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  char text[64];
  DWORD type = 0, size = sizeof text - 1;
  LONG result = RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  text[size] = '\0';
  return qm::directx::ParseDirectXVersion(text);
}

bool RecordVersion(const std::string& versionText) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDirectXKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(versionText.c_str()),
                               static_cast<DWORD>(versionText.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::string JoinWindows(std::string folder, const std::string& name) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  for (char c : name) folder += c == '/' ? '\\' : c;
  return folder;
}

std::string LastComponent(const std::string& name) {
  std::size_t slash = name.find_last_of("\\/");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Free bytes on the drive of a Windows folder; no answer means no limit.
ULONGLONG FreeBytes(const std::string& windowsFolder) {
  std::string root = windowsFolder.substr(0, 2) + "\\";
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, nullptr)) return ~0ull;
  return static_cast<ULONGLONG>(freeClusters) * sectorsPerCluster * bytesPerSector;
}

std::string CurrentFolder() {
  std::error_code ec;
  std::string host = std::filesystem::current_path(ec).string();
  return ec ? std::string() : qm::kernel::HostToWindowsPath(host);
}

}  // namespace

INT DirectXSetupGetVersion(DWORD* version, DWORD* revision) {
  std::optional<DirectXVersion> installed = InstalledVersion();
  if (!installed) return 0;
  if (version) *version = installed->version;
  if (revision) *revision = installed->revision;
  return 1;
}

INT DirectXSetupA(HWND owner, LPSTR rootPath, DWORD flags) {
  (void)owner;
  std::string root = rootPath ? rootPath : CurrentFolder();
  DWORD rootAttributes = GetFileAttributesA(root.c_str());
  if (rootAttributes == INVALID_FILE_ATTRIBUTES || !(rootAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return DSETUPERR_CANTFINDDIR;

  std::optional<std::string> manifestPath = qm::kernel::ResolveWindowsPath(JoinWindows(root, qm::directx::kManifestName));
  std::string manifest;
  if (!manifestPath || !qm::kernel::host::ReadWholeFile(*manifestPath, &manifest))
    return DSETUPERR_SOURCEFILENOTFOUND;
  std::optional<qm::directx::RuntimePackage> package = qm::directx::ParseRuntimePackage(manifest);
  if (!package) return DSETUPERR_INTERNAL;

  std::vector<std::string> sources;
  ULONGLONG totalBytes = 0;
  for (const std::string& file : package->files) {
    std::string source = JoinWindows(root, file);
    WIN32_FILE_ATTRIBUTE_DATA found;
    if (!GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &found) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return DSETUPERR_SOURCEFILENOTFOUND;
    std::optional<std::string> hostSource = qm::kernel::ResolveWindowsPath(source);
    if (!hostSource) return DSETUPERR_SOURCEFILENOTFOUND;
    sources.push_back(*hostSource);
    totalBytes += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  }

  // An installed runtime that is newer (or the same) stays; that is success.
  std::optional<DirectXVersion> installed = InstalledVersion();
  if (installed && !package->version.IsNewerThan(*installed)) return DSETUPERR_SUCCESS;

  char windows[MAX_PATH];
  UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return DSETUPERR_INTERNAL;
  const std::string systemFolder = std::string(windows, length) + "\\System";
  std::optional<std::string> system = qm::kernel::ResolveWindowsPath(systemFolder);
  if (!system) return DSETUPERR_INTERNAL;
  std::error_code ec;
  std::filesystem::create_directories(*system, ec);
  if (FreeBytes(systemFolder) < totalBytes) return DSETUPERR_OUTOFDISKSPACE;
  if (flags & DSETUP_TESTINSTALL) return DSETUPERR_SUCCESS;

  for (std::size_t i = 0; i < sources.size(); ++i) {
    std::string content;
    if (!qm::kernel::host::ReadWholeFile(sources[i], &content)) return DSETUPERR_NOCOPY;
    // Written over the file Windows would take for it: an older runtime's
    // DDRAW.DLL is replaced by ddraw.dll, not left beside it.
    std::optional<std::string> target =
        qm::kernel::ResolveWindowsPath(systemFolder + "\\" + LastComponent(package->files[i]));
    if (!target) return DSETUPERR_INTERNAL;
    if (!qm::kernel::host::WriteFileAtomically(*target, content)) {
      DWORD error = qm::kernel::ErrorFromErrno(errno);
      return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? DSETUPERR_OUTOFDISKSPACE : DSETUPERR_NOCOPY;
    }
  }
  if (!RecordVersion(package->versionText)) return DSETUPERR_INTERNAL;
  return package->needsRestart ? DSETUPERR_SUCCESS_RESTART : DSETUPERR_SUCCESS;
}
