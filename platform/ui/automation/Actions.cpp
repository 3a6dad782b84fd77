// Acting like a user: clicks at a control's centre and key presses, all
// through InjectInput.
#include <cctype>
#include <cstdlib>
#include <map>

#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/automation/KeyNames.h"

namespace qm::ui::automation {

namespace {

struct KeyPress {
  UINT virtualKey = 0;
  bool shift = false;
  bool control = false;
  bool alt = false;
  std::string text;  // what the host would also deliver as text input
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

KeyPress ParseKey(const std::string& name) {
  static const std::map<std::string, UINT> named = {
      {"enter", VK_RETURN}, {"return", VK_RETURN}, {"esc", VK_ESCAPE},   {"escape", VK_ESCAPE},
      {"tab", VK_TAB},      {"space", VK_SPACE},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
      {"insert", VK_INSERT}, {"home", VK_HOME},    {"end", VK_END},       {"pageup", VK_PRIOR},
      {"pagedown", VK_NEXT}, {"up", VK_UP},        {"down", VK_DOWN},     {"left", VK_LEFT},
      {"right", VK_RIGHT},  {"add", VK_ADD},      {"subtract", VK_SUBTRACT}, {"multiply", VK_MULTIPLY},
  };
  KeyPress press;
  std::string rest = name;
  for (;;) {
    auto plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    std::string modifier = Lower(rest.substr(0, plus));
    if (modifier == "shift")
      press.shift = true;
    else if (modifier == "ctrl" || modifier == "control")
      press.control = true;
    else if (modifier == "alt")
      press.alt = true;
    else
      throw AutomationError("unknown modifier in key " + name);
    rest = rest.substr(plus + 1);
  }
  std::string key = Lower(rest);
  if (auto it = named.find(key); it != named.end()) {
    press.virtualKey = it->second;
  } else if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
    press.virtualKey = static_cast<UINT>(std::toupper(static_cast<unsigned char>(key[0])));
  } else if (key.size() >= 2 && key[0] == 'f' && std::isdigit(static_cast<unsigned char>(key[1]))) {
    int number = std::atoi(key.c_str() + 1);
    if (number < 1 || number > 12) throw AutomationError("unknown key " + name);
    press.virtualKey = VK_F1 + static_cast<UINT>(number - 1);
  } else {
    throw AutomationError("unknown key " + name);
  }
  if (!press.alt && !press.control) {
    if (press.virtualKey == VK_SPACE) press.text = " ";
    if (std::isalnum(static_cast<unsigned char>(press.virtualKey)) && press.virtualKey < 0x80) {
      char c = static_cast<char>(press.virtualKey);
      press.text = std::string(1, press.shift ? c : static_cast<char>(std::tolower(c)));
    }
  }
  return press;
}

}  // namespace

void CheckKeyName(const std::string& name) { ParseKey(name); }

namespace {

void ClickWith(MouseButton button, POINT screen) {
  InputEvent event;
  event.point = screen;
  event.kind = InputKind::MouseMove;
  InjectInput(event);
  event.button = button;
  event.kind = InputKind::MouseDown;
  InjectInput(event);
  event.kind = InputKind::MouseUp;
  InjectInput(event);
}

}  // namespace

void ClickAt(POINT screen) { ClickWith(MouseButton::Left, screen); }

void RightClickAt(POINT screen) { ClickWith(MouseButton::Right, screen); }

void ClickControl(const ControlRef& ref, HWND window) {
  HWND control = FindControl(ref, window);
  if (!IsWindowVisible(control))
    throw AutomationError("control " + ref.Describe() + " is hidden\n" + DescribeOpenWindows());
  if (!IsControlEnabled(ref, window))
    throw AutomationError("control " + ref.Describe() + " is disabled\n" + DescribeOpenWindows());
  RECT r;
  GetWindowRect(control, &r);
  ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void PressKey(const std::string& name) {
  KeyPress press = ParseKey(name);
  InputEvent event;
  event.virtualKey = press.virtualKey;
  event.shift = press.shift;
  event.control = press.control;
  event.alt = press.alt;
  event.kind = InputKind::KeyDown;
  InjectInput(event);
  if (!press.text.empty()) {
    InputEvent text = event;
    text.kind = InputKind::Text;
    text.text = press.text;
    InjectInput(text);
  }
  event.kind = InputKind::KeyUp;
  InjectInput(event);
}

void TypeText(const std::string& text) {
  InputEvent event;
  event.kind = InputKind::Text;
  event.text = text;
  InjectInput(event);
}

void RunUntilIdle(HWND dialog) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the program's own loop
      return;
    }
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void SaveScreenshot(const std::string& path) {
  std::string full = path;
  const char* folder = std::getenv("QUELLMOOR_SCREENSHOTS");
  if (!path.empty() && path[0] != '/' && folder && *folder) full = std::string(folder) + "/" + path;
  if (!SavePng(ScreenSurface(), full)) throw AutomationError("cannot save the screenshot " + full);
}

}  // namespace qm::ui::automation
