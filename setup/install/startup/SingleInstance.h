// Only one installer may run at a time: another process running an
// executable of the same file name refuses the start.
#pragma once

#include <vector>

#include "platform/kernel/ToolHelp.h"

// True when at least two running processes, the caller included, run an
// executable with the installer's file name (compared case-sensitively).
bool IsInstallerRunning();

// Appends one entry per running process; nothing when no snapshot can be taken.
void EnumerateProcesses(std::vector<PROCESSENTRY32>& processes);
