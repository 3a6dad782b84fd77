// Test helpers that make files by their Windows names, through the same
// platform calls the installer uses.
#pragma once

#include <cstdio>
#include <string>

#include "platform/kernel/Crt.h"
#include "platform/kernel/FileApi.h"

namespace qm::test {

inline bool WriteWindowsFile(const std::string& windowsPath, const std::string& content) {
  std::FILE* file = CrtOpenFile(windowsPath.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

inline void MakeWindowsDirectory(const std::string& windowsPath) {
  for (std::size_t i = 0; i <= windowsPath.size(); ++i)
    if (i == windowsPath.size() || windowsPath[i] == '\\') CreateDirectoryA(windowsPath.substr(0, i).c_str(), nullptr);
}

inline bool Exists(const std::string& windowsPath) {
  return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace qm::test
