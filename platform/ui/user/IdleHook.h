// The loop's idle point: when the message loop has nothing to hand out, it
// lets the automation driver take its next step before waiting for input.
#pragma once

#include <functional>

namespace qm::ui::user {

struct IdlePoint {
  bool programWaits = false;   // GetMessageA/WaitMessage would now block; PeekMessageA only polls
  bool timersPending = false;  // a timer will still deliver a message
};

// What the hook did: nothing to do, a step taken (look at the queue again),
// or a step waiting for something the program has not done yet.
enum class IdleResult { Nothing, Progress, Waiting };

using IdleHook = std::function<IdleResult(const IdlePoint&)>;
void SetIdleHook(IdleHook hook);
// Runs the hook once (no-op without a hook).
IdleResult RunIdleHook(const IdlePoint& point);
bool HasIdleHook();

}  // namespace qm::ui::user
