// Every document, address or viewer the platform hands to the host to
// outlive it goes through one launcher, so tests can put a recording one in
// its place and nothing they run opens a real viewer or browser. (Programs
// the platform waits for are processes of its own: kernel/Process.h.)
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qm::shell {

struct HostCommand {
  std::string request;            // the Windows command line or the address asked for
  std::vector<std::string> argv;  // the host command that carries it out
};

// Returns whether the host command was started.
using Launcher = std::function<bool(const HostCommand&)>;

// Puts a launcher in place and returns the one it replaces. An empty
// launcher restores the host launcher.
Launcher SetLauncher(Launcher launcher);

// The host launcher: starts argv detached from this process (its own
// session, no terminal, never waited for) and reports whether exec worked.
bool LaunchOnHost(const HostCommand& command);

// Runs the current launcher.
bool Launch(const HostCommand& command);

}  // namespace qm::shell
