// Processes the platform starts: handles that waits, exit codes and priority
// classes understand. Priority classes are the host's nice values:
//   IDLE 19, BELOW_NORMAL 10, NORMAL 0, ABOVE_NORMAL -5, HIGH -10, REALTIME -20
// and a process reports the class nearest to the nice value it really has.
// Raising a priority above the present one needs the host's permission;
// without it SetPriorityClass fails with ERROR_ACCESS_DENIED and nothing
// changes.
#pragma once

#include <string>
#include <vector>

#include "platform/kernel/SystemInfo.h"  // GetCurrentProcess
#include "platform/kernel/Thread.h"
#include "platform/kernel/WinTypes.h"

constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD BELOW_NORMAL_PRIORITY_CLASS = 0x00004000;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD ABOVE_NORMAL_PRIORITY_CLASS = 0x00008000;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
constexpr DWORD REALTIME_PRIORITY_CLASS = 0x00000100;

// STILL_ACTIVE while the process runs, then its exit code (128 plus the
// signal's number for a program the host ended by a signal).
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// 0 with the last error set on failure.
DWORD GetPriorityClass(HANDLE process);
BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);
DWORD GetProcessId(HANDLE process);

namespace qm::kernel {

// Starts the host program hostProgram with argv (argv[0] included) in the
// host folder hostFolder (empty: this program's own). *process (when not
// null) receives a process handle for the caller to close; the program is
// reaped when it ends whether or not a handle is kept. False with the last
// error set.
bool StartProcess(const std::string& hostProgram, const std::vector<std::string>& argv, const std::string& hostFolder,
                  HANDLE* process);

// The nice value of a priority class; false for a value that is none.
bool NiceOfPriorityClass(DWORD priorityClass, int* nice);
// The class whose nice value is nearest.
DWORD PriorityClassOfNice(int nice);

}  // namespace qm::kernel
