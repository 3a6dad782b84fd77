// Finding windows and controls, reading their state, and describing what is
// open when a step cannot be done.
#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/ui/Automation.h"
#include "platform/ui/Controls.h"
#include "platform/ui/automation/PopupSupport.h"
#include "platform/ui/automation/TreeSupport.h"

namespace qm::ui::automation {

namespace {

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

std::string ClassName(HWND hwnd) {
  char name[128];
  int length = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

bool IsClass(HWND hwnd, const char* upperCaseName) {
  std::string name = ClassName(hwnd);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name == upperCaseName;
}

bool IsCheckable(HWND hwnd) {
  if (!IsClass(hwnd, WC_BUTTONA)) return false;
  DWORD type = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE ||
         type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> all;
  EnumChildWindows(window, [](HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string DescribeWindow(HWND hwnd) {
  std::ostringstream out;
  out << "window " << Quote(WindowText(hwnd)) << " (class " << ClassName(hwnd) << ")";
  if (!IsWindowVisible(hwnd)) out << " hidden";
  if (!IsWindowEnabled(hwnd)) out << " disabled";
  if (GetActiveWindow() == hwnd) out << " active";
  return out.str();
}

void FailNotFound(const std::string& what) { throw AutomationError(what + "\n" + DescribeOpenWindows()); }

}  // namespace

std::string ControlRef::Describe() const {
  if (byText) return Quote(text);
  std::ostringstream out;
  out << id << " (0x" << std::hex << id << ")";
  return out.str();
}

ControlRef Id(int id) { return ControlRef{false, id, {}}; }
ControlRef Text(std::string text) { return ControlRef{true, 0, std::move(text)}; }

HWND FindWindowByCaption(const std::string& caption) {
  HWND found = nullptr;
  for (HWND hwnd = GetTopWindow(nullptr); hwnd && !found; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
    if (IsWindowVisible(hwnd) && WindowText(hwnd) == caption) found = hwnd;
  return found;
}

HWND TargetWindow() {
  if (HWND active = GetActiveWindow(); active && IsWindowVisible(active)) return active;
  for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
    if (IsWindowVisible(hwnd)) return hwnd;
  return nullptr;
}

HWND FindControl(const ControlRef& ref, HWND window) {
  if (!window) window = TargetWindow();
  if (!window) FailNotFound("no control " + ref.Describe() + ": no window is open");
  HWND hidden = nullptr;
  for (HWND hwnd : Descendants(window)) {
    bool matches = ref.byText ? WindowText(hwnd) == ref.text : GetWindowLongPtrA(hwnd, GWLP_ID) == ref.id;
    if (!matches) continue;
    if (IsWindowVisible(hwnd)) return hwnd;
    if (!hidden) hidden = hwnd;
  }
  if (hidden) return hidden;
  FailNotFound("no control " + ref.Describe() + " in window " + Quote(WindowText(window)));
  return nullptr;
}

std::string ControlText(const ControlRef& ref, HWND window) { return WindowText(FindControl(ref, window)); }

bool IsControlEnabled(const ControlRef& ref, HWND window) {
  HWND hwnd = FindControl(ref, window);
  for (HWND h = hwnd; h; h = (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
    if (!IsWindowEnabled(h)) return false;
  return true;
}

bool IsControlVisible(const ControlRef& ref, HWND window) { return IsWindowVisible(FindControl(ref, window)); }

UINT ControlCheck(const ControlRef& ref, HWND window) {
  return static_cast<UINT>(SendMessageA(FindControl(ref, window), BM_GETCHECK, 0, 0));
}

int ControlSelection(const ControlRef& ref, HWND window) {
  return static_cast<int>(SendMessageA(FindControl(ref, window), CB_GETCURSEL, 0, 0));
}

std::string DescribeOpenWindows() {
  std::ostringstream out;
  out << "Open windows, topmost first:";
  bool any = false;
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
    any = true;
    out << "\n  " << DescribeWindow(top);
    if (!IsWindowVisible(top)) continue;
    if (top == OpenMenuWindow())
      out << " items: " << DescribeMenuItems(reinterpret_cast<HMENU>(SendMessageA(top, MN_GETHMENU, 0, 0)));
    for (HWND hwnd : Descendants(top)) {
      LONG_PTR id = GetWindowLongPtrA(hwnd, GWLP_ID);
      out << "\n    " << ClassName(hwnd) << " id=" << id << " text=" << Quote(WindowText(hwnd))
          << (IsWindowEnabled(hwnd) ? " enabled" : " disabled") << (IsWindowVisible(hwnd) ? " visible" : " hidden");
      if (IsCheckable(hwnd))
        out << (SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : " unchecked");
      if (IsClass(hwnd, WC_COMBOBOXA))
        out << " selection=" << SendMessageA(hwnd, CB_GETCURSEL, 0, 0) << " entries: " << DescribeComboEntries(hwnd);
      if (IsClass(hwnd, "SYSTREEVIEW32")) {
        HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
        out << " selection=" << (selected ? Quoted(PathOf(hwnd, selected)) : "none");
      }
      if (GetFocus() == hwnd) out << " focused";
    }
  }
  if (!any) out << " none";
  return out.str();
}

}  // namespace qm::ui::automation
