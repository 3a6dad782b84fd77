// Queued steps, taken one per idle point of the program's message loop.
#include <deque>

#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "platform/ui/user/IdleHook.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui::automation {

namespace {

// How long a waiting step may wait on an idle program that still has timers.
constexpr long long TimerGraceMs = 10000;

}  // namespace

struct Driver::State {
  std::deque<Step> steps;
  FailureHandler onFailure;
  EndHandler onEnd;
  bool failed = false;
  bool ended = false;
  long long waitingSince = 0;

  void Fail(const std::string& message) {
    failed = true;
    steps.clear();
    if (onFailure) onFailure(message);
    throw AutomationError(message);
  }

  user::IdleResult OnIdle(const user::IdlePoint& point) {
    if (failed) return user::IdleResult::Nothing;
    if (steps.empty()) {
      if (point.programWaits)
        Fail(std::string("the program waits for input and no steps are left") + (ended ? " after the end" : "") +
             "\n" + DescribeOpenWindows());
      return user::IdleResult::Nothing;
    }
    // Taken off first: a step may open a nested loop whose idle points run the steps after it.
    Step step = std::move(steps.front());
    steps.pop_front();
    StepResult result = StepResult::NotYet;
    std::string error;
    try {
      result = step.run(point.programWaits);
    } catch (const AutomationError& e) {
      error = e.what();
    }
    if (error.empty() && result == StepResult::Done) {
      waitingSince = 0;
      return user::IdleResult::Progress;
    }
    if (error.empty() && result == StepResult::Again) {
      waitingSince = 0;
      steps.push_front(std::move(step));
      return user::IdleResult::Progress;
    }
    // While the program is busy a step that cannot be done yet is tried again later.
    if (point.programWaits && !error.empty()) Fail(step.description + ": " + error);
    std::string description = step.description;
    steps.push_front(std::move(step));
    if (point.programWaits) {
      long long now = user::NowMs();
      if (!point.timersPending)
        Fail(description + ": the program is idle with nothing pending\n" + DescribeOpenWindows());
      if (waitingSince == 0) waitingSince = now;
      if (now - waitingSince > TimerGraceMs)
        Fail(description + ": nothing happened for " + std::to_string(TimerGraceMs / 1000) + " s\n" +
             DescribeOpenWindows());
    }
    return user::IdleResult::Waiting;
  }
};

Driver::Driver() : state_(std::make_shared<State>()) {
  std::weak_ptr<State> weak = state_;
  user::SetIdleHook([weak](const user::IdlePoint& point) {
    auto state = weak.lock();
    return state ? state->OnIdle(point) : user::IdleResult::Nothing;
  });
}

Driver::~Driver() { user::SetIdleHook(nullptr); }

void Driver::SetFailureHandler(FailureHandler handler) { state_->onFailure = std::move(handler); }
void Driver::SetEndHandler(EndHandler handler) { state_->onEnd = std::move(handler); }

Driver& Driver::Add(Step step) {
  state_->steps.push_back(std::move(step));
  return *this;
}

Driver& Driver::Wait(const std::string& caption) {
  return Add({"wait \"" + caption + "\"", [caption](bool) {
                return FindWindowByCaption(caption) ? StepResult::Done : StepResult::NotYet;
              }});
}

Driver& Driver::Click(const ControlRef& ref) {
  return Add({"click " + ref.Describe(), [ref](bool) {
                ClickControl(ref);
                return StepResult::Done;
              }});
}

Driver& Driver::Check(const ControlRef& ref) {
  return Add({"check " + ref.Describe(), [ref](bool) {
                if (ControlCheck(ref) != BST_CHECKED) ClickControl(ref);
                return StepResult::Done;
              }});
}

Driver& Driver::Uncheck(const ControlRef& ref) {
  return Add({"uncheck " + ref.Describe(), [ref](bool) {
                if (ControlCheck(ref) != BST_UNCHECKED) ClickControl(ref);
                return StepResult::Done;
              }});
}

Driver& Driver::Key(const std::string& name) {
  return Add({"key " + name, [name](bool) {
                PressKey(name);
                return StepResult::Done;
              }});
}

Driver& Driver::Type(const std::string& text) {
  return Add({"type \"" + text + "\"", [text](bool) {
                TypeText(text);
                return StepResult::Done;
              }});
}

Driver& Driver::Expect(const ControlRef& ref, const std::string& text) {
  return Add({"expect " + ref.Describe() + " \"" + text + "\"", [ref, text](bool) {
                std::string actual = ControlText(ref);
                if (actual != text) throw AutomationError("the text is \"" + actual + "\"\n" + DescribeOpenWindows());
                return StepResult::Done;
              }});
}

Driver& Driver::ExpectEnabled(const ControlRef& ref, bool enabled) {
  return Add({std::string(enabled ? "expect-enabled " : "expect-disabled ") + ref.Describe(), [ref, enabled](bool) {
                if (IsControlEnabled(ref) != enabled)
                  throw AutomationError(std::string("the control is ") + (enabled ? "disabled" : "enabled") + "\n" +
                                        DescribeOpenWindows());
                return StepResult::Done;
              }});
}

Driver& Driver::ExpectChecked(const ControlRef& ref, bool checked) {
  return Add({std::string(checked ? "expect-checked " : "expect-unchecked ") + ref.Describe(), [ref, checked](bool) {
                if ((ControlCheck(ref) == BST_CHECKED) != checked)
                  throw AutomationError(std::string("the control is ") + (checked ? "unchecked" : "checked") + "\n" +
                                        DescribeOpenWindows());
                return StepResult::Done;
              }});
}

Driver& Driver::Screenshot(const std::string& path) {
  return Add({"screenshot \"" + path + "\"", [path](bool) {
                SaveScreenshot(path);
                return StepResult::Done;
              }});
}

Driver& Driver::Do(const std::string& description, std::function<void()> action) {
  return Add({description, [action](bool) {
                action();
                return StepResult::Done;
              }});
}

Driver& Driver::End() {
  std::weak_ptr<State> weak = state_;
  return Add({"end", [weak](bool) {
                if (auto state = weak.lock()) {
                  state->ended = true;
                  if (state->onEnd) state->onEnd();
                }
                return StepResult::Done;
              }});
}

std::size_t Driver::StepsLeft() const { return state_->steps.size(); }
bool Driver::Ended() const { return state_->ended || state_->failed; }

std::vector<std::string> Driver::PendingSteps() const {
  std::vector<std::string> result;
  for (const Step& step : state_->steps) result.push_back(step.description);
  return result;
}

}  // namespace qm::ui::automation
