// The pieces of a response script line, for the units that read steps.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Automation.h"

namespace qm::ui::automation {

struct Token {
  std::string text;
  bool quoted = false;
};

// A control named by id (decimal or 0x hex) or by a quoted text.
ControlRef ParseControl(const Token& token, int lineNumber);

// The tree steps (ScriptTreeSteps.cpp): false when the line is none of them.
bool LoadTreeStep(Driver& driver, const std::vector<Token>& tokens, int lineNumber);
// The popup menu and combo box steps (ScriptTreeSteps.cpp): false when the
// line is none of them.
bool LoadPopupStep(Driver& driver, const std::vector<Token>& tokens, int lineNumber);

}  // namespace qm::ui::automation
