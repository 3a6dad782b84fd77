// The driver's steps for popup menus and combo boxes. A menu's item is
// clicked as a user would click it, in the menu's own loop; a combo box is
// opened by a click on its drop-down button, which starts the loop of the
// dropped list, and the entry is then clicked in that list.
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/automation/PopupSupport.h"

namespace qm::ui::automation {

namespace {

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string ClassName(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string MenuText(HMENU menu, int position) {
  const int length = GetMenuStringA(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetMenuStringA(menu, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string EntryText(HWND combo, int index) {
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

POINT Centre(HWND window, const RECT& client) {
  POINT at{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ClientToScreen(window, &at);
  return at;
}

// The combo box the step names, visible and enabled, with its parts.
COMBOBOXINFO ComboParts(const ControlRef& ref) {
  HWND combo = FindControl(ref);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo, &info))
    throw AutomationError("control " + ref.Describe() + " is no combo box\n" + DescribeOpenWindows());
  if (!IsWindowVisible(combo) || !IsControlEnabled(ref))
    throw AutomationError("the combo box " + ref.Describe() + " is hidden or disabled\n" + DescribeOpenWindows());
  return info;
}

bool IsDropped(HWND combo) { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

// Clicks the drop-down button once; a second time means the click did not
// open the list.
StepResult OpenList(const ControlRef& ref, const COMBOBOXINFO& info, bool& clicked) {
  if (clicked)
    throw AutomationError("clicking the drop-down button of " + ref.Describe() + " did not open its list\n" +
                          DescribeOpenWindows());
  clicked = true;
  ClickAt(Centre(info.hwndCombo, info.rcButton));
  return StepResult::Again;
}

}  // namespace

HWND OpenMenuWindow() {
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT))
    if (IsWindowVisible(top) && ClassName(top) == "#32768") return top;
  return nullptr;
}

std::string DescribeMenuItems(HMENU menu) {
  std::string out;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (!out.empty()) out += ' ';
    if (state & MF_SEPARATOR) {
      out += "-";
      continue;
    }
    out += Quote(MenuText(menu, i));
    if (state & (MF_GRAYED | MF_DISABLED)) out += " (greyed)";
  }
  return out.empty() ? "none" : out;
}

std::string DescribeComboEntries(HWND combo) {
  std::string out;
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) out += (i ? " " : "") + Quote(EntryText(combo, i));
  return out.empty() ? "none" : out;
}

Driver& Driver::ChooseMenuItem(const std::string& text) {
  return Add({"choose-menu " + Quote(text), [text](bool) {
                HWND window = OpenMenuWindow();
                if (!window) throw AutomationError("no popup menu is open\n" + DescribeOpenWindows());
                HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
                const int count = GetMenuItemCount(menu);
                for (int i = 0; i < count; ++i) {
                  const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
                  if ((state & MF_SEPARATOR) || MenuText(menu, i) != text) continue;
                  if (state & (MF_GRAYED | MF_DISABLED))
                    throw AutomationError("the menu item " + Quote(text) + " is greyed");
                  RECT item{};
                  GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item);
                  ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                  return StepResult::Done;
                }
                throw AutomationError("no item " + Quote(text) + " in the popup menu; its items: " +
                                      DescribeMenuItems(menu));
              }});
}

Driver& Driver::DropDown(const ControlRef& combo) {
  auto clicked = std::make_shared<bool>(false);
  return Add({"drop-down " + combo.Describe(), [combo, clicked](bool) {
                const COMBOBOXINFO info = ComboParts(combo);
                if (IsDropped(info.hwndCombo)) return StepResult::Done;
                return OpenList(combo, info, *clicked);
              }});
}

Driver& Driver::ChooseEntry(const ControlRef& combo, const std::string& text) {
  auto clicked = std::make_shared<bool>(false);
  return Add({"choose-entry " + combo.Describe() + " " + Quote(text), [combo, text, clicked](bool) {
                const COMBOBOXINFO info = ComboParts(combo);
                HWND box = info.hwndCombo;
                const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
                int index = -1;
                for (int i = 0; i < count && index < 0; ++i)
                  if (EntryText(box, i) == text) index = i;
                if (index < 0)
                  throw AutomationError("no entry " + Quote(text) + " in the combo box " + combo.Describe() +
                                        "; its entries: " + DescribeComboEntries(box));
                if (!IsDropped(box)) return OpenList(combo, info, *clicked);
                // Scrolled into view as the list's scroll bar would, then clicked.
                RECT client{}, item{};
                GetClientRect(info.hwndList, &client);
                SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
                if (item.top < client.top || item.bottom > client.bottom) {
                  SendMessageA(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
                  SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&item));
                }
                ClickAt(Centre(info.hwndList, item));
                return StepResult::Done;
              }});
}

}  // namespace qm::ui::automation
