// Command lines as programs of the platform receive them: one string that
// the program's C runtime splits into its arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::kernel {

// The arguments of a command line (without the program's name), split as
// the C runtime splits them: blanks and tabs separate arguments outside
// double quotes; 2n backslashes before a quote give n backslashes and the
// quote opens or closes a quoted part; 2n+1 give n and a literal quote;
// other backslashes are themselves; inside a quoted part "" gives a literal
// quote and closes the part.
std::vector<std::string> SplitArguments(std::string_view commandLine);

}  // namespace qm::kernel
