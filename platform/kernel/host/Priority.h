// Host boundary: scheduling priority (nice values, -20 highest to 19
// lowest) of whole processes. May hold getpriority and setpriority.
#pragma once

namespace qm::kernel::host {

// The host sets a nice value per thread; a process's value is its main
// thread's, and setting it sets every thread the process has.

// False with errno set (ESRCH for a process that is gone).
bool GetProcessNice(int pid, int* nice);
// False with errno set, the process unchanged: EACCES when the host does
// not let this program raise the priority that far.
bool SetProcessNice(int pid, int nice);

}  // namespace qm::kernel::host
