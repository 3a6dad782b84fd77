// Questions to the platform about the machine.
#include <cmath>
#include <limits>

#include "install/service/Service.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/SystemInfo.h"

std::int32_t GetDiskFreeKb(const std::string& path) {
  std::string root = path.substr(0, 3);
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return 0;
  return FreeClustersToKb(bytesPerSector * sectorsPerCluster, freeClusters);
}

std::int32_t FreeClustersToKb(std::uint32_t bytesPerCluster, std::uint32_t freeClusters) {
  double kb = bytesPerCluster * (freeClusters / 1024.0);
  // Large volumes hold more than a signed 32-bit count of KB; the answer then
  // stays at the largest count rather than wrapping to a small or negative one.
  constexpr double largest = std::numeric_limits<std::int32_t>::max();
  if (!(kb < largest)) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::trunc(kb));
}

bool IsWindowsNT() { return (GetVersion() & 0x80000000u) == 0; }

std::string GetTempDirectory() {
  char buffer[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buffer);
  std::string directory = buffer;
  if (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
  return directory;
}

std::string GetModulePath(const char* moduleName) {
  char buffer[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA(moduleName), buffer, MAX_PATH);
  buffer[MAX_PATH - 1] = '\0';
  return buffer;
}
