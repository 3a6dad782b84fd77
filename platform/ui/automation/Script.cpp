// Response scripts: one step a line, `#` starts a comment, controls named by
// id (decimal or 0x hex) or by text in double quotes taken as it stands.
#include <cstdlib>
#include <sstream>

#include "platform/ui/Automation.h"
#include "platform/ui/automation/KeyNames.h"
#include "platform/ui/automation/ScriptSteps.h"

namespace qm::ui::automation {

ControlRef ParseControl(const Token& token, int lineNumber) {
  if (token.quoted) return Text(token.text);
  const std::string& s = token.text;
  bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  char* end = nullptr;
  long value = std::strtol(s.c_str(), &end, hex ? 16 : 10);
  if (s.empty() || *end != '\0' || value < 0 || value > 0xFFFF)
    throw AutomationError("line " + std::to_string(lineNumber) + ": \"" + s +
                          "\" is neither a control id nor a quoted text");
  return Id(static_cast<int>(value));
}

namespace {

// Splits a line into words and quoted texts; a `#` outside quotes ends the line.
std::vector<Token> Tokenize(const std::string& line, int lineNumber) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::size_t close = line.find('"', i + 1);
      if (close == std::string::npos)
        throw AutomationError("line " + std::to_string(lineNumber) + ": a quoted text has no closing quote");
      tokens.push_back({line.substr(i + 1, close - i - 1), true});
      i = close + 1;
    } else {
      std::size_t end = line.find_first_of(" \t\r#\"", i);
      if (end == std::string::npos) end = line.size();
      tokens.push_back({line.substr(i, end - i), false});
      i = end;
    }
  }
  return tokens;
}

// A screenshot's name stays inside the screenshot folder: a relative path
// that never climbs out of it.
bool StaysInScreenshotFolder(const std::string& name) {
  if (name.empty() || name.front() == '/') return false;
  std::size_t start = 0;
  while (true) {
    std::size_t end = name.find('/', start);
    if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

}  // namespace

void LoadScript(Driver& driver, const std::string& scriptText) {
  std::istringstream lines(scriptText);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    std::vector<Token> tokens = Tokenize(line, lineNumber);
    if (tokens.empty()) continue;
    const std::string& command = tokens[0].text;
    auto where = [&] { return "line " + std::to_string(lineNumber) + ": "; };
    auto need = [&](std::size_t count, const char* form) {
      if (tokens.size() != count + 1) throw AutomationError(where() + "expected " + form);
    };
    auto needQuoted = [&](std::size_t index, const char* form) {
      if (!tokens[index].quoted) throw AutomationError(where() + "expected " + form);
    };
    if (tokens[0].quoted) throw AutomationError(where() + "a step starts with its name");
    if (command == "wait") {
      need(1, "wait \"Caption\"");
      needQuoted(1, "wait \"Caption\"");
      driver.Wait(tokens[1].text);
    } else if (command == "wait-idle") {
      need(0, "wait-idle alone");
      driver.Add({"wait-idle", [](bool programWaits) { return programWaits ? StepResult::Done : StepResult::NotYet; }});
    } else if (command == "click" || command == "check" || command == "uncheck") {
      need(1, "a control id or \"text\"");
      ControlRef ref = ParseControl(tokens[1], lineNumber);
      if (command == "click") driver.Click(ref);
      if (command == "check") driver.Check(ref);
      if (command == "uncheck") driver.Uncheck(ref);
    } else if (command == "key") {
      need(1, "key Name");
      try {
        CheckKeyName(tokens[1].text);
      } catch (const AutomationError& e) {
        throw AutomationError(where() + e.what());
      }
      driver.Key(tokens[1].text);
    } else if (command == "type") {
      need(1, "type \"text\"");
      needQuoted(1, "type \"text\"");
      driver.Type(tokens[1].text);
    } else if (command == "expect") {
      need(2, "expect id \"text\"");
      needQuoted(2, "expect id \"text\"");
      driver.Expect(ParseControl(tokens[1], lineNumber), tokens[2].text);
    } else if (command == "expect-enabled" || command == "expect-disabled") {
      need(1, "a control id or \"text\"");
      driver.ExpectEnabled(ParseControl(tokens[1], lineNumber), command == "expect-enabled");
    } else if (command == "expect-checked" || command == "expect-unchecked") {
      need(1, "a control id or \"text\"");
      driver.ExpectChecked(ParseControl(tokens[1], lineNumber), command == "expect-checked");
    } else if (command == "screenshot") {
      need(1, "screenshot \"file.png\"");
      needQuoted(1, "screenshot \"file.png\"");
      if (!StaysInScreenshotFolder(tokens[1].text))
        throw AutomationError(where() + "screenshot \"" + tokens[1].text +
                              "\" names a file outside the screenshot folder");
      driver.Screenshot(tokens[1].text);
    } else if (command == "end") {
      need(0, "end alone");
      driver.End();
    } else if (LoadTreeStep(driver, tokens, lineNumber) || LoadPopupStep(driver, tokens, lineNumber)) {
    } else {
      throw AutomationError(where() + "unknown step \"" + command + "\"");
    }
  }
}

}  // namespace qm::ui::automation
