#include "KernelFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "platform/kernel/Prefix.h"

namespace qm::test {

std::string HostOnC(const std::string& relative) { return qm::kernel::PrefixRoot() + "/drive_c/" + relative; }

void WriteHostFile(const std::string& hostPath, const std::string& contents) {
  std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
  std::ofstream(hostPath, std::ios::binary) << contents;
}

std::string ReadHostFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HostExists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

void MakeHostReadOnly(const std::string& hostPath) { chmod(hostPath.c_str(), 0444); }

unsigned ModeOf(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::vector<std::string> HostEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

WIN32_FIND_DATAA FindOne(const std::string& name) {
  WIN32_FIND_DATAA data{};
  HANDLE search = FindFirstFileA(name.c_str(), &data);
  EXPECT_NE(search, INVALID_HANDLE_VALUE) << name;
  FindClose(search);
  return data;
}

std::vector<Found> SearchAll(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  return EntriesOf(FindFirstFileA(pattern.c_str(), &data), data);
}

std::vector<Found> EntriesOf(HANDLE search, WIN32_FIND_DATAA& data) {
  std::vector<Found> found;
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back({data.cFileName, data.cAlternateFileName, data.dwFileAttributes});
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return found;
}

void PrintTo(const Found& found, std::ostream* out) {
  *out << '"' << found.name << "\" short \"" << found.shortName << "\" attributes 0x" << std::hex << found.attributes
       << std::dec;
}

std::vector<std::string> SearchNames(const std::string& pattern) { return NamesOf(SearchAll(pattern)); }

std::vector<std::string> NamesOf(const std::vector<Found>& entries) {
  std::vector<std::string> names;
  for (const Found& entry : entries) names.push_back(entry.name);
  return names;
}

}  // namespace qm::test
