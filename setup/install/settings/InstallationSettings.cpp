#include "install/settings/InstallationSettings.h"

#include <cstring>
#include <limits>
#include <memory>

#include "install/service/Service.h"
#include "platform/directx/DirectXSetup.h"
#include "platform/kernel/SystemInfo.h"

namespace {

std::unique_ptr<InstallationSettings>& Instance() {
  static std::unique_ptr<InstallationSettings> instance;
  return instance;
}

constexpr std::size_t kDirectXPathBuffer = 1024;
constexpr DWORD kFirstDirectXGeneration = 7;

}  // namespace

InstallationSettings& Settings() {
  std::unique_ptr<InstallationSettings>& instance = Instance();
  if (!instance) instance.reset(new InstallationSettings());
  return *instance;
}

void InstallationSettings::Reset() { Instance().reset(); }

std::string GetInstallerDirectory() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  // A name that does not fit comes back cut short, with the limit as its
  // length: its last backslash would be a parent folder's, and every file
  // would be read from there. No folder is known then, and start-up says so.
  if (length == 0 || length >= MAX_PATH - 1) return std::string();
  // The size limit leaves the last byte of the buffer as its terminator.
  std::string text = path;
  std::size_t slash = text.rfind('\\');
  if (slash == std::string::npos) return std::string();
  return text.substr(0, slash + 1);
}

void RemoveTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
}

InstallationSettings::InstallationSettings() {
  installerDirectory = GetInstallerDirectory();
  sourcePath = installerDirectory;
  dbPath = installerDirectory + "db";
  binPath = installerDirectory + "bin";
  docPath = installerDirectory + "doc";
  directxPath = installerDirectory + "directx";
  destinationPath = "C:\\Games\\Quellmoor";
  createProgramGroup = true;
  createDesktopLink = true;
  viewReleaseNotes = false;
  visitWebPage = false;
  installationType = "full";
  directXNeeded = false;
  restartNeeded = false;
  ProbeDirectX();
}

void InstallationSettings::MeasureRequiredSize() {
  // Summed in 64 bits: a game of 4 GiB or more must not come out as a few
  // KB. Only a size beyond what the 32-bit KB field holds is capped.
  std::uint64_t bytes = GetDirectorySize64(dbPath) + GetDirectorySize64(binPath) + GetDirectorySize64(docPath);
  std::uint64_t kb = bytes >> 10;
  constexpr std::uint64_t largest = std::numeric_limits<std::uint32_t>::max();
  requiredSizeKb = static_cast<std::uint32_t>(kb < largest ? kb : largest);
}

std::string InstallationSettings::GetStartExePath() const { return destinationPath + "\\bin\\start.exe"; }

std::string InstallationSettings::GetSetupExePath() const { return destinationPath + "\\bin\\setup.exe"; }

std::string InstallationSettings::GetUninstallDirectory() const { return destinationPath + "\\uninstall"; }

std::string InstallationSettings::GetUninstallExePath() const { return GetUninstallDirectory() + "\\uninstall.exe"; }

std::string InstallationSettings::GetReadmePath() const { return destinationPath + "\\doc\\readme.txt"; }

void InstallationSettings::ProbeDirectX() {
  DWORD version = 0;
  DWORD revision = 0;
  if (DirectXSetupGetVersion(&version, &revision) != 0) {
    directXNeeded = static_cast<WORD>(version & 0xFFFF) < kFirstDirectXGeneration;
  } else {
    directXNeeded = true;
    restartNeeded = true;
  }
}

bool InstallationSettings::RunDirectXSetup() {
  char rootPath[kDirectXPathBuffer] = {};
  std::strncpy(rootPath, directxPath.c_str(), kDirectXPathBuffer - 1);
  switch (DirectXSetupA(nullptr, rootPath, DSETUP_DIRECTX)) {
    case DSETUPERR_SUCCESS:
      return true;
    case DSETUPERR_SUCCESS_RESTART:
      restartNeeded = true;
      return true;
    default:
      return false;
  }
}
