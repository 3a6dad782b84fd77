// Replacing a file so that readers see either the old or the new content,
// never a half-written one, also across a crash.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel/WinTypes.h"

namespace qm::registry {

// Writes content to a temporary file beside hostPath, flushes it to disk and
// renames it over hostPath. Returns ERROR_SUCCESS or the Windows code of the
// host failure; on failure hostPath is untouched and no temporary is left.
DWORD WriteFileAtomically(const std::string& hostPath, std::string_view content, unsigned mode = 0644);

// Reads a whole file. ERROR_SUCCESS, or the Windows code of the host failure.
DWORD ReadWholeFile(const std::string& hostPath, std::string* content);

}  // namespace qm::registry
