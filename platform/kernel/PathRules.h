// How a Windows path is read: drive, separators, the folding of "." and
// "..", the names a Windows path can hold. Pure functions over strings; the
// host file system is never consulted here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace qm::kernel {

struct WindowsPath {
  char drive = 0;  // upper case
  // Folded: no empty parts, no "." or "..", trailing dots and spaces gone.
  std::vector<std::string> components;
  bool trailingSeparator = false;
};

struct ParsedPath {
  WindowsPath path;
  DWORD error = 0;  // ERROR_SUCCESS when path holds the result
};

// A full path (X:\a\b, or the drive-relative X:a, taken from the drive's
// root). Backslash and slash both separate. ".." at the root stays there.
ParsedPath ParseWindowsPath(std::string_view text);

// "X:\a\b", or "X:\" for the root.
std::string FormatWindowsPath(const WindowsPath& path);

// Whether a host directory entry can appear under this name on a Windows
// volume. Names with a separator, a colon, wildcard or control characters,
// a trailing dot or space, or bytes that are not UTF-8 cannot.
bool IsWindowsName(std::string_view name);

bool HasWildcards(std::string_view name);

// A search's directory and its last part, the name or pattern to look for.
struct SearchTarget {
  std::string directory;
  std::string pattern;
  DWORD error = 0;
};

// A name that ends in a separator is refused, as Windows refuses it; a last
// part of "." or ".." is folded into the directory.
SearchTarget SplitSearchPath(std::string_view text);

}  // namespace qm::kernel
