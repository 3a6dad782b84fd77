#include "platform/shell/Volume.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/kernel/Prefix.h"

namespace qm::shell {

namespace {

std::mutex volumeMutex;
std::map<char, LinkVolume> volumeOverrides;

char UpperDrive(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

LinkVolume VolumeOf(char driveLetter) {
  driveLetter = UpperDrive(driveLetter);
  {
    std::lock_guard<std::mutex> guard(volumeMutex);
    auto it = volumeOverrides.find(driveLetter);
    if (it != volumeOverrides.end()) return it->second;
  }
  std::string folder = qm::kernel::DriveFolder(driveLetter).value_or(std::string(1, driveLetter));
  DWORD hash = 2166136261u;
  for (unsigned char c : folder) hash = (hash ^ c) * 16777619u;
  return LinkVolume{3, hash, ""};
}

void SetVolumeOverride(char driveLetter, std::optional<LinkVolume> volume) {
  std::lock_guard<std::mutex> guard(volumeMutex);
  if (volume)
    volumeOverrides[UpperDrive(driveLetter)] = *volume;
  else
    volumeOverrides.erase(UpperDrive(driveLetter));
}

}  // namespace qm::shell
