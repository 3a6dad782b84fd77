// Test helpers for files on the host side: made and read directly, listed,
// and named by the Windows path the platform gives them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/kernel/Prefix.h"

namespace qm::test {

inline std::string WindowsPath(const std::string& hostPath) { return qm::kernel::HostToWindowsPath(hostPath); }

// A file of `size` bytes, its folders made as needed.
inline void MakeFile(const std::filesystem::path& path, std::size_t size, char fill = 'q') {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << std::string(size, fill);
}

inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file below root, as paths relative to it with '/' separators.
inline std::set<std::string> FilesBelow(const std::filesystem::path& root) {
  std::set<std::string> files;
  if (!std::filesystem::exists(root)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.insert(std::filesystem::relative(entry.path(), root).generic_string());
  return files;
}

}  // namespace qm::test
