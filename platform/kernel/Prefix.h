// The prefix: the folder holding the Windows-like environment (drive_c, the
// drive map, the registry store) and the drive map that turns a Windows path
// into a host path. Platform-internal: the installer never sees host paths.
#pragma once

#include <optional>
#include <string>

namespace qm::kernel {

// The prefix folder (host path, no trailing slash), created with its drive_c
// skeleton on first use. Its location comes from QUELLMOOR_PREFIX, else
// $XDG_DATA_HOME/quellmoor (~/.local/share/quellmoor).
const std::string& PrefixRoot();

// Points the platform at another prefix (tests); created on first use.
void SetPrefixRoot(const std::string& hostPath);

// The host folder of a drive letter ('C' -> <prefix>/drive_c, 'Z' -> "/"),
// or nothing when the letter is not mapped.
std::optional<std::string> DriveFolder(char driveLetter);

// Maps a drive letter to a host folder and records it in the prefix; an
// empty folder removes the letter. The map is read once, on first use.
void MapDrive(char driveLetter, const std::string& hostFolder);

// Resolves a full Windows path (X:\a\b) to a host path: components are
// matched exactly first, then case-insensitively; "." and ".." are folded
// and never climb above the drive's folder. Components that do not exist
// are kept as written. Nothing when the path has no mapped drive.
std::optional<std::string> ResolveWindowsPath(const std::string& windowsPath);

// The Windows path of a host path, through the drive whose folder holds it
// most specifically (Z: holds everything).
std::string HostToWindowsPath(const std::string& hostPath);

}  // namespace qm::kernel
