// The binary shell-link (.lnk) format: the header, LinkInfo with the volume
// and local base path, the string data in UTF-16, the terminal block. Pure:
// turns a link's fields into bytes and back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace qm::shell {

struct LinkVolume {
  DWORD driveType = 3;  // DRIVE_FIXED
  DWORD serialNumber = 0;
  std::string label;
};

// Strings are UTF-8, paths are Windows paths.
struct ShellLinkData {
  std::string target;
  std::string description;
  std::string relativePath;
  std::string workingDirectory;
  std::string arguments;
  std::string iconLocation;
  int iconIndex = 0;
  int showCommand = 1;  // SW_SHOWNORMAL
  WORD hotKey = 0;
  // What the target was when the link was written; zero when it is absent.
  DWORD fileAttributes = 0;
  FILETIME creationTime{};
  FILETIME accessTime{};
  FILETIME writeTime{};
  DWORD fileSize = 0;
  LinkVolume volume;
};

// A target of the form X:\... gets a LinkInfo with its volume; any other
// target is kept as the relative path, or in a LinkInfo when the link also
// has a volume or a different relative path of its own.
std::vector<BYTE> EncodeShellLink(const ShellLinkData& link);

// Reads a link written by us or by another writer (an item-id list and
// extra data blocks are skipped). *error says what was wrong.
std::optional<ShellLinkData> DecodeShellLink(const std::vector<BYTE>& bytes, std::string* error = nullptr);

}  // namespace qm::shell
