// Whether a folder has subfolders, asked without listing the folder: the
// shell's namespace needs the answer for every folder it shows, and a folder
// may hold a great many files.
#pragma once

#include <string>

namespace qm::kernel {

// True when the folder (a Windows path) holds a folder that a directory
// search would list under its name: a name a Windows path can hold, a link
// to a folder counting as one, hidden ones only when includeHidden. Reading
// stops at the first such entry, and only entries whose kind the host's
// listing leaves open are looked at one by one. False when there is none or
// the folder cannot be read.
bool HasSubfolder(const std::string& windowsPath, bool includeHidden);

}  // namespace qm::kernel
