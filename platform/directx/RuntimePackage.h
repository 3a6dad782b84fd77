// The DirectX runtime package on a medium: a folder holding "package.txt"
// and the files it lists (see medium/directx/README.txt):
//
//   ; comment
//   Version=4.07.00.0700      the version the package installs (required)
//   Restart=no                yes: the installation needs a restart
//   File=ddraw.dll            a file of the package, relative to its folder;
//                             copied into C:\Windows\System (one line each)
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/directx/DirectXVersion.h"

namespace qm::directx {

inline constexpr const char* kManifestName = "package.txt";

struct RuntimePackage {
  std::string versionText;
  DirectXVersion version{};
  bool needsRestart = false;
  std::vector<std::string> files;  // Windows-style relative names
};

// Nothing when the text is not a valid manifest; *error says why.
std::optional<RuntimePackage> ParseRuntimePackage(std::string_view text, std::string* error = nullptr);

}  // namespace qm::directx
