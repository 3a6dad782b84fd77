// The unattended run: the response script is played from the program's
// first idle point on. A step that cannot be done, or a
// program waiting for input with no step left, ends the process with a
// report on stderr and status 1; `end` ends it with status 0.
#include "platform/ui/automation/ScriptStart.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/ui/Automation.h"

namespace qm::ui::automation {

namespace {

constexpr int FailureStatus = 1;

// Lives until the process ends: the run may end inside any loop, and the
// queue it hooks into must not outlive it at exit.
Driver*& ScriptDriver() {
  static Driver* driver = nullptr;
  return driver;
}

[[noreturn]] void EndRun(int status, const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "response script: %s\n", message.c_str());
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

// A program that ends on its own while steps are still waiting did not go
// where the script expected.
void CheckNothingLeft() {
  Driver* driver = ScriptDriver();
  if (!driver || driver->Ended()) return;
  auto pending = driver->PendingSteps();
  if (pending.empty() || (pending.size() == 1 && pending.front() == "end")) return;
  EndRun(FailureStatus, "the program ended before the step: " + pending.front());
}

}  // namespace

void StartScript(const std::string& path) {
  if (path.empty() || ScriptDriver()) return;
  std::ifstream file(path, std::ios::binary);
  if (!file) EndRun(FailureStatus, "cannot read " + path);
  std::ostringstream text;
  text << file.rdbuf();
  auto* driver = new Driver();
  driver->SetFailureHandler([](const std::string& message) { EndRun(FailureStatus, message); });
  driver->SetEndHandler([] { EndRun(0, ""); });
  try {
    LoadScript(*driver, text.str());
  } catch (const AutomationError& e) {
    EndRun(FailureStatus, path + ", " + e.what());
  }
  ScriptDriver() = driver;
  std::atexit(CheckNothingLeft);
}

}  // namespace qm::ui::automation
