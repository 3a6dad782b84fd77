// Response-script steps for tree views: a control, then the item's path as
// quoted texts from the top level down.
//   select-item 1049 "My Computer" "(C:)" "Games"
//   expand-item / collapse-item / right-click-item   (the same form)
//   expect-selected 1049 "My Computer" "(C:)"        (no texts: nothing selected)
//   expect-items 1049 "My Computer" "  (C:)"          (what the tree shows)
#include "platform/ui/automation/ScriptSteps.h"

namespace qm::ui::automation {

bool LoadTreeStep(Driver& driver, const std::vector<Token>& tokens, int lineNumber) {
  const std::string& command = tokens[0].text;
  bool itemStep = command == "select-item" || command == "expand-item" || command == "collapse-item" ||
                  command == "right-click-item";
  if (!itemStep && command != "expect-selected" && command != "expect-items") return false;
  std::string where = "line " + std::to_string(lineNumber) + ": ";
  if (tokens.size() < 2) throw AutomationError(where + "expected " + command + " id \"text\" ...");
  ControlRef tree = ParseControl(tokens[1], lineNumber);
  std::vector<std::string> texts;
  for (std::size_t i = 2; i < tokens.size(); ++i) {
    if (!tokens[i].quoted) throw AutomationError(where + "the item texts are quoted: \"" + tokens[i].text + "\"");
    texts.push_back(tokens[i].text);
  }
  if (itemStep && texts.empty()) throw AutomationError(where + command + " needs the item's path of texts");
  if (command == "select-item") driver.SelectItem(tree, texts);
  if (command == "expand-item") driver.ExpandItem(tree, texts);
  if (command == "collapse-item") driver.CollapseItem(tree, texts);
  if (command == "right-click-item") driver.RightClickItem(tree, texts);
  if (command == "expect-selected") driver.ExpectSelected(tree, texts);
  if (command == "expect-items") driver.ExpectItems(tree, texts);
  return true;
}

}  // namespace qm::ui::automation
