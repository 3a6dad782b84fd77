// Threads: created running, waited for through their handles. The host
// cannot end a thread from outside safely, so TerminateThread asks instead:
// the thread's waits fail from then on (WAIT_FAILED, ERROR_OPERATION_ABORTED)
// and it ends with the exit code given as soon as its routine returns. A
// routine that waits through the platform therefore ends promptly; the
// caller waits on the thread's handle to know that it has.
#pragma once

#include "platform/kernel/FileApi.h"
#include "platform/kernel/WinTypes.h"

constexpr DWORD STILL_ACTIVE = 259;

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

// Default security, any stack size (the host's default is used) and flags 0
// only: the thread starts at once. threadId (may be null) receives the
// host's id of the thread. Null with the last error set on failure.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, std::size_t stackSize, LPTHREAD_START_ROUTINE routine,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// STILL_ACTIVE until the thread has ended, then its exit code.
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Returns at once; the thread ends with exitCode (see above). A thread that
// has ended keeps the code it ended with.
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
DWORD GetCurrentThreadId();
// The host's id of the thread; 0 with the last error set for a handle that is none.
DWORD GetThreadId(HANDLE thread);

namespace qm::kernel {
// While set, CreateThread fails with ERROR_NOT_ENOUGH_MEMORY as when the
// host has no thread to give (tests of the callers' clean-up).
void SetThreadCreationRefused(bool refused);
}  // namespace qm::kernel
