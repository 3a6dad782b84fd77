// Case-blind lookup in host folders without reading the folder for every
// lookup. Each folder's Windows names are indexed by their upper-case form
// the first time a name is looked for in it ignoring case, and the index is
// kept current by the host's change notes (host/FolderWatch): they report
// the platform's own creates, renames and deletes and every other
// program's alike, so a file made behind the platform's back is found as
// soon as it exists. A folder the notes cannot follow (a network or
// user-space file system, or no watch to be had) is read again at every
// lookup, as without an index. Folders are known by their identity
// (device and inode), so a folder replaced by another of the same name is
// indexed afresh. A bounded number of folders and names is kept; the
// least recently used go first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/host/FileStatus.h"

namespace qm::kernel {

// The entry of hostFolder that `name` names ignoring case: of host names
// that differ only in case, the smallest; failing that, for a name that
// can be one, the entry whose short name it is. `folder` is the folder's
// status with links followed, when the caller has it at hand. Nothing when
// no entry matches or the folder cannot be read.
std::optional<std::string> FindEntryIgnoringCase(const std::string& hostFolder, std::string_view name,
                                                 const host::FileStatus* folder);

// What the index of hostFolder answers for `name`, where asking it is
// likely to spare the host a status query of the entry: the folder is
// indexed under this path already and lacks `name` as written, as last
// seen (a name that is there is better found by a query of its own, which
// learns its status too). The index is brought up to date first, so its
// answer is the host's: the entry as FindEntryIgnoringCase finds it, but
// `name` itself first, or none when the folder has no such entry. `folder`
// as there; without it the folder is queried once, unless the folder's
// change notes and those of every folder above it up to `within` (the
// drive's folder, when given) show that the path still names the indexed
// folder.
struct IndexAnswer {
  bool answered = false;  // else the caller looks the name up itself
  std::optional<std::string> entry;
  // The folder that answered: the one the path names at the moment of the
  // answer.
  FileIdentity folder;
};
IndexAnswer AskKnownIndex(const std::string& hostFolder, std::string_view name, const host::FileStatus* folder,
                          const std::string* within = nullptr);

// The short name of the entry `entry` (a host name) of hostFolder, as
// AssignShortNames gives it over the folder's names: empty when the entry
// needs none, or when the folder cannot be read. Computed for the whole
// folder when first asked for, and kept for as long as the folder holds the
// same names.
std::string ShortNameOfEntry(const std::string& hostFolder, const std::string& entry, const host::FileStatus* folder);

}  // namespace qm::kernel
