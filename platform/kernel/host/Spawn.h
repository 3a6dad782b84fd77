// Host boundary: starting host programs. May hold fork and exec and what a
// child does between them; process handles and waits belong beside it.
#pragma once

#include <string>
#include <vector>

namespace qm::kernel::host {

// Starts argv (argv[0] looked up on the search path) detached from this
// process: in a session of its own, with no terminal and the standard
// streams on /dev/null, never waited for, so it outlives this program. True
// once the program runs; false with errno set (the exec's own error when
// the program could not be run).
bool SpawnDetached(const std::vector<std::string>& argv);

// The argument vector exec takes: pointers into `arguments` (which must
// outlive it), ended by a null. Empty, with errno EINVAL, when there are no
// arguments: a program needs at least its own name.
std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments);

}  // namespace qm::kernel::host
