// Response-script steps for tree views: a control, then the item's path as
// quoted texts from the top level down.
//   select-item 1049 "My Computer" "(C:)" "Games"
//   expand-item / collapse-item / right-click-item   (the same form)
//   expect-selected 1049 "My Computer" "(C:)"        (no texts: nothing selected)
//   expect-items 1049 "My Computer" "  (C:)"          (what the tree shows)
// and for the popup menus and combo boxes that trees come with:
//   choose-menu "&Open"                 (in the popup menu that is open)
//   drop-down 1051                      (opens the combo box's list)
//   choose-entry 1051 "C:\Games"        (opens it unless open, clicks the entry)
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

bool LoadPopupStep(Driver& driver, const std::vector<Token>& tokens, int lineNumber) {
  const std::string& command = tokens[0].text;
  if (command != "choose-menu" && command != "drop-down" && command != "choose-entry") return false;
  std::string where = "line " + std::to_string(lineNumber) + ": ";
  auto form = [&](std::size_t count, bool lastQuoted, const char* text) {
    if (tokens.size() != count + 1 || (lastQuoted && !tokens.back().quoted))
      throw AutomationError(where + "expected " + text);
  };
  if (command == "choose-menu") {
    form(1, true, "choose-menu \"text\"");
    driver.ChooseMenuItem(tokens[1].text);
  } else if (command == "drop-down") {
    form(1, false, "drop-down id");
    driver.DropDown(ParseControl(tokens[1], lineNumber));
  } else {
    form(2, true, "choose-entry id \"text\"");
    driver.ChooseEntry(ParseControl(tokens[1], lineNumber), tokens[2].text);
  }
  return true;
}

}  // namespace qm::ui::automation
