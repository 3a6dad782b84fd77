// 8.3 short names, derived from the long names of one directory so that the
// same directory always gives the same short names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::kernel {

// A legal 8.3 name (base of 1 to 8, extension of up to 3 characters, one dot
// at most, no spaces, only characters allowed in short names).
bool IsShortName(std::string_view name);

// The short names of a directory's entries, index for index; empty for an
// entry whose long name already is a legal 8.3 name. Names that need one get
// BASE~n.EXT in the order of their long names, avoiding every name taken.
std::vector<std::string> AssignShortNames(const std::vector<std::string>& longNames);

}  // namespace qm::kernel
