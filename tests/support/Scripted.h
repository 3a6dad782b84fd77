// Response scripts in tests: a program run with a script answering it, the
// failure its steps report, and the refusal of a script that cannot be read.
// Header-only.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/ui/Automation.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

// Runs `program` with `script` answering it; every step must be used. What
// `program` returns.
template <class Program>
auto RunScripted(const std::string& script, Program&& program) {
  ui::automation::Driver driver;
  ui::automation::LoadScript(driver, script);
  auto result = program();
  EXPECT_EQ(driver.StepsLeft(), 0u);
  return result;
}

// The failure the steps that `steps` adds report while `program` runs; the
// failure must end `program` with an AutomationError.
inline std::string StepFailure(const std::function<void(ui::automation::Driver&)>& steps,
                               const std::function<void()>& program) {
  ui::automation::Driver driver;
  std::string failure;
  driver.SetFailureHandler([&](const std::string& message) { failure = message; });
  steps(driver);
  EXPECT_THROW(program(), ui::automation::AutomationError);
  return failure;
}

// StepFailure of steps that begin once the window `caption` shows. The
// window stays open behind the loop the failure ended; it is closed here.
inline std::string FailureInWindow(const std::string& caption,
                                   const std::function<void(ui::automation::Driver&)>& steps,
                                   const std::function<void()>& program) {
  std::string failure = StepFailure([&](ui::automation::Driver& driver) { steps(driver.Wait(caption)); }, program);
  if (HWND open = ui::automation::FindWindowByCaption(caption)) DestroyWindow(open);
  return failure;
}

// The message LoadScript refuses `script` with; a test failure when it reads
// the script.
inline std::string LoadScriptError(ui::automation::Driver& driver, const std::string& script) {
  try {
    ui::automation::LoadScript(driver, script);
  } catch (const ui::automation::AutomationError& e) {
    return e.what();
  }
  ADD_FAILURE() << "the script was read";
  return {};
}

}  // namespace qm::test
