// Host boundary: the signal dispositions the program starts with. May hold
// signal().
#pragma once

namespace qm::kernel::host {

// A write past the host's file-size limit (ulimit -f) fails with EFBIG,
// which the kernel reports as ERROR_FILE_TOO_LARGE, instead of ending the
// program with SIGXFSZ: on Windows such a write is an error the caller
// sees, and the copy offers Abort, Retry and Ignore for it. Called once at
// the program's start.
void FailWritesPastTheFileSizeLimit();

}  // namespace qm::kernel::host
