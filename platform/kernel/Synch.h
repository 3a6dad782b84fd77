// Waiting for kernel objects: processes, threads and change notifications.
#pragma once

#include "platform/kernel/WinTypes.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// WAIT_OBJECT_0 once the object is signalled (a process or thread that has
// ended, a change notification with a change since it was armed),
// WAIT_TIMEOUT after the milliseconds given (INFINITE: no limit), and
// WAIT_FAILED with the last error set: ERROR_INVALID_HANDLE for a handle
// that cannot be waited on, ERROR_OPERATION_ABORTED once the waiting thread
// has been asked to end by TerminateThread. The current process's
// pseudo-handle is never signalled.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
