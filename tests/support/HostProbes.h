// What the host says about this test process and its children, read where
// a user would look (/proc), for tests of processes, threads, priorities
// and descriptors.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qm::test {

// The nice value a /proc stat file reports (/proc/<pid>/stat,
// /proc/self/task/<tid>/stat); nothing when it cannot be read.
std::optional<int> NiceIn(const std::string& statPath);
std::optional<int> NiceOfProcess(int pid);

// Entries of a /proc folder: /proc/self/fd counts open descriptors,
// /proc/self/task the threads.
int CountEntries(const std::string& folder);
int OpenDescriptors();
int Threads();

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

}  // namespace qm::test
