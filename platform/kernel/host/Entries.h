// Host boundary: entries in host folders. May hold opening and listing
// folders, creating and removing entries and changing their permission
// bits.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// The names in a folder, "." and ".." left out, in the folder's own order;
// false with errno set when it cannot be read to its end.
bool ListFolder(const std::string& folder, std::vector<std::string>* names);

// Opens a folder (following links) to list or watch it; not open, with
// errno set, on failure.
Descriptor OpenFolder(const std::string& path);
// What a listing tells of an entry without asking for its status: links and
// entries of a kind the file system does not report are Unknown.
enum class EntryType { Directory, Other, Unknown };

// Whether an entry may be a folder: every one but those the listing itself
// says are something else.
constexpr bool MayBeFolder(EntryType type) { return type != EntryType::Other; }

// ListFolder of an open folder; each listing starts at its beginning.
// mayBeFolders, when given, gets MayBeFolder of each name's entry.
bool ListOpenFolder(const Descriptor& folder, std::vector<std::string>* names,
                    std::vector<bool>* mayBeFolders = nullptr);

// Reads a folder's entries ("." and ".." left out) in its own order and hands
// each to visit until visit answers false, so a caller looking for one entry
// stops reading there. false with errno set when the folder cannot be read.
bool VisitFolder(const std::string& folder, const std::function<bool(const char* name, EntryType type)>& visit);
// VisitFolder of an open folder, from its beginning: a folder of many
// thousand names is read without a string for each.
bool VisitOpenFolder(const Descriptor& folder, const std::function<bool(const char* name, EntryType type)>& visit);

// Each false with errno set.
bool MakeFolder(const std::string& path);
bool RemoveFolder(const std::string& path);  // only an empty one
bool RemoveEntry(const std::string& path);   // a file or a link, never a folder
bool SetModeBits(const std::string& path, unsigned mode);

}  // namespace qm::kernel::host
