// Host boundary: programs this program starts and waits for. May hold
// spawning with a working folder, process descriptors, reaping and the
// thread that reaps. Programs started to outlive us are Spawn's.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel/host/Descriptor.h"

namespace qm::kernel::host {

// A started child. It never stays a zombie: it is reaped as soon as it
// ends, whether anyone waits for it or not, and whoever holds it still
// learns how it ended.
class Child {
 public:
  Child(int pid, Descriptor pidFd) : pid(pid), pidFd(std::move(pidFd)) {}
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  int Id() const { return pid; }
  // Readable once the child has ended, and from then on.
  const Descriptor& EndedFd() const { return pidFd; }
  // Whether it has ended; reaps it then.
  bool HasEnded();
  // Once it has ended: the code it passed to exit, or 128 plus the number
  // of the signal that ended it.
  int ExitCode();
  // Nice values of the child while it runs; false with errno set (ESRCH
  // once it has ended: its process id may then name another process).
  bool GetNice(int* nice);
  bool SetNice(int nice);

 private:
  bool ReapLocked();

  const int pid;
  const Descriptor pidFd;
  std::mutex mutex;
  bool reaped = false;
  int exitCode = 0;
};

// Starts program (a host path; no search) with argv, argv[0] included, in
// folder (a host path; empty: this program's own), with this program's
// environment and standard streams and no other descriptor of ours. Null
// with errno set: the exec's own error when the program could not run,
// the folder's when it cannot be entered.
std::shared_ptr<Child> StartChild(const std::string& program, const std::vector<std::string>& argv,
                                  const std::string& folder);

// For a holder about to drop its reference: a child that has ended is let
// go at once, so that its descriptor closes with that reference; one still
// running stays with the reaper until it ends.
void ReleaseChild(const std::shared_ptr<Child>& child);

// Whether path is a program the host runs for us: a file we may execute
// that holds a host executable or begins with an interpreter line ("#!").
// A document that merely has its execute bits set is not one.
bool IsRunnableProgram(const std::string& path);

}  // namespace qm::kernel::host
