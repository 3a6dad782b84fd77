// The automation driver: finds windows by caption and controls by id or
// text, reads their state, and clicks and types through InjectInput, the
// same path a user's mouse and keyboard take. Tests use it in-process; an
// unattended run plays a response script through it (QUELLMOOR_SCRIPT, see
// platform/ui/automation/README.md).
//
// Two ways to drive:
// - immediately, from test code between loop runs: the free functions below
//   (lookups throw AutomationError, with the open windows in the message);
// - as queued steps (Driver): each step runs at an idle point of the
//   program's own message loop, one per idle point, so steps reach into modal
//   loops and drains. When the program waits for input and the driver has no
//   step left, the run fails instead of hanging.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinUser.h"

namespace qm::ui::automation {

class AutomationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A control: by its id, or by its text exactly as written ("&Next").
struct ControlRef {
  bool byText = false;
  int id = 0;
  std::string text;

  std::string Describe() const;
};
ControlRef Id(int id);
ControlRef Text(std::string text);

// ---- Immediate ---------------------------------------------------------------
// A visible top-level window with exactly this caption; null when none.
HWND FindWindowByCaption(const std::string& caption);
// The window steps address: the active window, else the topmost visible one.
HWND TargetWindow();
// A control in `window` (default: TargetWindow()); visible matches first.
HWND FindControl(const ControlRef& ref, HWND window = nullptr);
std::string ControlText(const ControlRef& ref, HWND window = nullptr);
bool IsControlEnabled(const ControlRef& ref, HWND window = nullptr);
bool IsControlVisible(const ControlRef& ref, HWND window = nullptr);
UINT ControlCheck(const ControlRef& ref, HWND window = nullptr);  // BST_UNCHECKED, BST_CHECKED, ...
// The selected item of a combo box (CB_GETCURSEL); -1 when none.
int ControlSelection(const ControlRef& ref, HWND window = nullptr);
// Mouse down and up at the control's centre; fails on a hidden or disabled control.
void ClickControl(const ControlRef& ref, HWND window = nullptr);
void ClickAt(POINT screen);
void RightClickAt(POINT screen);
// "Enter", "Esc", "Tab", "Shift+Tab", "Space", "Alt+F4", "Alt+N", "Down", ...
void PressKey(const std::string& name);
void TypeText(const std::string& text);
// ---- Trees ---------------------------------------------------------------------
// An item of a tree view by the texts of the items from the top level down
// to it: {"My Computer", "(C:)", "Games"}.
using ItemPath = std::vector<std::string>;
// The item at the path among the tree's items, shown or not; throws naming
// what the tree holds where the path leads nowhere.
HTREEITEM FindTreeItem(const ControlRef& tree, const ItemPath& path, HWND window = nullptr);
// The items the tree shows (all their ancestors expanded) in order, one
// line each, indented two spaces a level: "My Computer", "  (C:)", ...
std::vector<std::string> TreeItems(const ControlRef& tree, HWND window = nullptr);
// The selected item's path; empty when nothing is selected.
ItemPath TreeSelection(const ControlRef& tree, HWND window = nullptr);
// Where the item's label (or its plus/minus button) is on the screen,
// scrolling it into view first; the item's ancestors must be expanded.
POINT TreeItemPoint(HWND tree, HTREEITEM item, bool button);

// Dispatches queued messages and paints until nothing is left, as a loop
// does before it waits (timers not yet due stay); a WM_QUIT stops it and is
// put back for the program's own loop. With a dialog, each message goes
// through that dialog's keyboard handling first (IsDialogMessageA).
void RunUntilIdle(HWND dialog = nullptr);
// Saves the composed screen; a relative path goes into QUELLMOOR_SCREENSHOTS
// (or the current directory).
void SaveScreenshot(const std::string& path);
// The open windows and their controls (class, id, text, enabled, visible, checked).
std::string DescribeOpenWindows();

// ---- Queued steps --------------------------------------------------------------
// Again: the step acted (a click, say) and continues at the next idle point,
// once the program has answered.
enum class StepResult { Done, NotYet, Again };

struct Step {
  std::string description;
  // Throws AutomationError when the step cannot be done. `programWaits`
  // tells whether the program is blocked waiting for input (a final verdict
  // is due) or only polling in the middle of its work.
  std::function<StepResult(bool programWaits)> run;
};

using FailureHandler = std::function<void(const std::string& message)>;
using EndHandler = std::function<void()>;

class Driver {
 public:
  // Installs itself at the message loop's idle point; one driver at a time.
  Driver();
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Default: throw AutomationError out of the program's loop.
  void SetFailureHandler(FailureHandler handler);
  // Called by an End step (an unattended run exits there). Without one, End
  // only marks the end: a program that then waits for input still fails.
  void SetEndHandler(EndHandler handler);

  Driver& Add(Step step);
  Driver& Wait(const std::string& caption);
  Driver& Click(const ControlRef& ref);
  Driver& Check(const ControlRef& ref);
  Driver& Uncheck(const ControlRef& ref);
  Driver& Key(const std::string& name);
  Driver& Type(const std::string& text);
  Driver& Expect(const ControlRef& ref, const std::string& text);
  Driver& ExpectEnabled(const ControlRef& ref, bool enabled);
  Driver& ExpectChecked(const ControlRef& ref, bool checked);
  Driver& Screenshot(const std::string& path);
  // Trees, as a user works them: the ancestors of the item are opened by
  // clicking their buttons (so a program loading children as they open
  // gets to do so), the item is scrolled into view, then clicked.
  Driver& SelectItem(const ControlRef& tree, ItemPath path);
  Driver& ExpandItem(const ControlRef& tree, ItemPath path);  // clicks its button unless it is expanded
  Driver& CollapseItem(const ControlRef& tree, ItemPath path);
  Driver& RightClickItem(const ControlRef& tree, ItemPath path);
  // An empty path: nothing may be selected.
  Driver& ExpectSelected(const ControlRef& tree, ItemPath path);
  // The lines of TreeItems.
  Driver& ExpectItems(const ControlRef& tree, std::vector<std::string> lines);
  // The open popup menu's item with exactly this text (access-key '&'
  // included) is clicked; a greyed item fails the step.
  Driver& ChooseMenuItem(const std::string& text);
  // The combo box's list is opened by a click on its drop-down button.
  Driver& DropDown(const ControlRef& combo);
  // The entry with exactly this text is clicked in the combo box's list,
  // which is opened first (by its button) unless it is open.
  Driver& ChooseEntry(const ControlRef& combo, const std::string& text);
  Driver& Do(const std::string& description, std::function<void()> action);
  Driver& End();

  std::size_t StepsLeft() const;
  // True after an End step or a failure.
  bool Ended() const;
  // Steps not yet done, described; for reports.
  std::vector<std::string> PendingSteps() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Reads a response script into driver steps; throws AutomationError naming
// the line of a step it cannot read.
void LoadScript(Driver& driver, const std::string& scriptText);

}  // namespace qm::ui::automation
