// What the host says about this test process and its children, read where
// a user would look (/proc), for tests of processes, threads, priorities
// and descriptors.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell/Launcher.h"

namespace qm::test {

// The nice value a /proc stat file reports (/proc/<pid>/stat,
// /proc/self/task/<tid>/stat); nothing when it cannot be read.
std::optional<int> NiceIn(const std::string& statPath);
std::optional<int> NiceOfProcess(int pid);

// Entries of a /proc folder: /proc/self/fd counts open descriptors,
// /proc/self/task the threads.
int CountEntries(const std::string& folder);
int OpenDescriptors();
// The same, less the descriptors of child processes: a program started
// with no handle kept is watched until it ends, and its descriptor closes
// then, whenever that is, in whichever test runs at the time.
int OpenDescriptorsBesideChildren();
int Threads();
// Makes one thread and lets it end: runtimes that start helper threads of
// their own with a program's first thread (a sanitizer's) have them running
// afterwards, so that counts of threads taken then are the program's.
void StartRuntimeHelpers();

// Checks condition until it holds, for at most a few seconds. Only for
// states the host gives no event for: a nice value set by another thread,
// a process or thread vanishing from /proc after it was waited for.
bool Eventually(const std::function<bool()>& condition);

// Whether the host lets this process raise its priority (a nice value
// below 0), asked in a child so that this process stays as it is.
bool MayRaisePriority();
// Takes the permission to raise priorities from this process for good, as
// an unprivileged user has none: for tests that run in a child process.
bool GiveUpRaisingPriority();

// Writes a shell script (the body after its "#!/bin/sh" line) at a Windows
// path, executable on the host; false when it cannot be written.
bool WriteScript(const std::string& windowsPath, const std::string& body);
// The host path of a Windows path (the test's prefix).
std::string HostPathOf(const std::string& windowsPath);

// A named pipe at a Windows path that the test holds open both ways, so
// that neither a program's open of it nor the test's ever blocks and
// nothing written is lost: a program reads a line from it to wait for the
// test, or writes one to tell the test something.
class HeldPipe {
 public:
  explicit HeldPipe(const std::string& windowsPath);
  ~HeldPipe();
  HeldPipe(const HeldPipe&) = delete;
  HeldPipe& operator=(const HeldPipe&) = delete;

  const std::string& HostPath() const { return path; }
  bool Write(const std::string& text);
  // A line, waited for at most a few seconds; empty when none came.
  std::string ReadLine();

 private:
  std::string path;
  int fd = -1;
};

// While it lives, what the platform would hand to the host (documents,
// addresses, the viewer) is recorded instead of started; each launch
// answers `works`.
class RecordingLauncher {
 public:
  RecordingLauncher();
  ~RecordingLauncher();
  RecordingLauncher(const RecordingLauncher&) = delete;
  RecordingLauncher& operator=(const RecordingLauncher&) = delete;

  std::vector<qm::shell::HostCommand> launched;
  bool works = true;

 private:
  qm::shell::Launcher previous;
};

}  // namespace qm::test
