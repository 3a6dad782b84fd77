#include <cctype>
#include <map>
#include <mutex>

#include "platform/kernel/FileApi.h"

namespace qm::kernel {
namespace {
std::mutex overridesMutex;
std::map<char, ULONGLONG> overrides;
}  // namespace

void SetDiskFreeSpaceOverride(char driveLetter, std::optional<ULONGLONG> freeBytes) {
  std::lock_guard lock(overridesMutex);
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(driveLetter)));
  if (freeBytes)
    overrides[drive] = *freeBytes;
  else
    overrides.erase(drive);
}

std::optional<ULONGLONG> DiskFreeSpaceOverride(char driveLetter) {
  std::lock_guard lock(overridesMutex);
  auto it = overrides.find(static_cast<char>(std::toupper(static_cast<unsigned char>(driveLetter))));
  if (it == overrides.end()) return std::nullopt;
  return it->second;
}

}  // namespace qm::kernel
