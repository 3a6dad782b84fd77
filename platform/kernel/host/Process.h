// Host boundary: facts about processes and the current user. May hold
// process and user queries; starting programs lives in Spawn.
#pragma once

#include <string>
#include <vector>

namespace qm::kernel::host {

int CurrentProcessId();

// Whether a process of this id runs (or is a zombie not yet reaped); an id
// of a process of another user counts as running.
bool ProcessIsRunning(int id);

// The host path of this process's executable; empty when unknown.
std::string ExecutablePath();

// The home folder the user database gives the current user; empty when it
// has none.
std::string UserHomeFolder();

struct ProcessInfo {
  int id = 0;
  int parentId = 0;
  int threads = 0;
  // The executable's file name: from its image, else the first argument it
  // was started with, else the host's short command name.
  std::string executableName;
};

// Every running process the host shows this one. A process that ends while
// it is being read is left out. False with errno set when there is no list.
bool ListProcesses(std::vector<ProcessInfo>* processes);

}  // namespace qm::kernel::host
