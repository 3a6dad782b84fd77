// Host boundary: entries in host folders. May hold listing, creating and
// removing entries and changing their permission bits.
#pragma once

#include <string>
#include <vector>

namespace qm::kernel::host {

// The names in a folder, "." and ".." left out, in the folder's own order;
// false with errno set when it cannot be read to its end.
bool ListFolder(const std::string& folder, std::vector<std::string>* names);

// Each false with errno set.
bool MakeFolder(const std::string& path);
bool RemoveFolder(const std::string& path);  // only an empty one
bool RemoveEntry(const std::string& path);   // a file or a link, never a folder
bool SetModeBits(const std::string& path, unsigned mode);

}  // namespace qm::kernel::host
