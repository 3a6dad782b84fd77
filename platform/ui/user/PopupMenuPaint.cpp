// Popup menus in the classic look: a raised grey frame, items in the menu
// font with their access keys underlined, the default item in bold, greyed
// items etched, separators as an etched line, and the highlighted item in
// navy with white text.
#include <algorithm>
#include <cstring>

#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/PopupMenuLayout.h"

namespace qm::ui::user {

namespace {

constexpr int kFrame = 3;
constexpr int kTextLeft = kFrame + 17;  // room for a check mark before the text
constexpr int kRightMargin = 17;
constexpr int kShortcutGap = 12;
constexpr int kSeparatorHeight = 9;

HFONT MenuFont(bool bold) {
  static HFONT normal = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  static HFONT heavy = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  return bold ? heavy : normal;
}

// The label before a tab and the shortcut text after it.
std::pair<std::string, std::string> SplitAtTab(const std::string& text) {
  const std::size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::string& text, bool bold) {
  if (text.empty()) return 0;
  HGDIOBJ old = SelectObject(dc, MenuFont(bold));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  return r.right - r.left;
}

void Fill(HDC dc, const RECT& r, int color) {
  if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, GetSysColorBrush(color));
}

void Lines(HDC dc, const RECT& r, int topLeft, int bottomRight) {
  Fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  Fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void Label(HDC dc, const std::string& text, RECT r, UINT align, int color) {
  if (text.empty()) return;
  SetTextColor(dc, GetSysColor(color));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_SINGLELINE | DT_VCENTER);
}

// A tick, seven pixels wide, in the check mark's room before the text.
void CheckMark(HDC dc, const RECT& item, int color) {
  const int x = item.left + 5, y = (item.top + item.bottom) / 2 - 1;
  static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) Fill(dc, {x + i, y - 2 + kRise[6 - i], x + i + 1, y + 1 + kRise[6 - i]}, color);
}

void DrawItem(HDC dc, const MenuItem& item, const RECT& r, bool highlighted) {
  if (item.IsSeparator()) {
    const int y = r.top + kSeparatorHeight / 2 - 1;
    Fill(dc, {r.left + 1, y, r.right - 1, y + 1}, COLOR_3DSHADOW);
    Fill(dc, {r.left + 1, y + 1, r.right - 1, y + 2}, COLOR_3DHILIGHT);
    return;
  }
  Fill(dc, r, highlighted ? COLOR_HIGHLIGHT : COLOR_MENU);
  HGDIOBJ old = SelectObject(dc, MenuFont(item.IsDefault()));
  // Plain names, not a structured binding: the lambda below captures them,
  // which older clang (the fuzz build's compiler) refuses for bindings.
  const std::pair<std::string, std::string> parts = SplitAtTab(item.text);
  const std::string& label = parts.first;
  const std::string& shortcut = parts.second;
  RECT text{kTextLeft, r.top, r.right - kRightMargin, r.bottom};
  auto draw = [&](int dx, int color) {
    RECT shifted{text.left + dx, text.top + dx, text.right + dx, text.bottom + dx};
    Label(dc, label, shifted, DT_LEFT, color);
    Label(dc, shortcut, shifted, DT_RIGHT, color);
    if (item.flags & MF_CHECKED) CheckMark(dc, RECT{r.left + dx, r.top + dx, r.right, r.bottom + dx}, color);
  };
  if (!item.IsGreyed()) {
    draw(0, highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  } else if (highlighted) {
    draw(0, COLOR_GRAYTEXT);
  } else {
    draw(1, COLOR_3DHILIGHT);
    draw(0, COLOR_3DSHADOW);
  }
  SelectObject(dc, old);
}

void Paint(HWND hwnd, const PopupMenuView& view) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  Fill(dc, client, COLOR_MENU);
  Lines(dc, client, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  Lines(dc, {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1}, COLOR_3DHILIGHT, COLOR_3DSHADOW);
  SetBkMode(dc, TRANSPARENT);
  if (const MenuData* menu = FindMenu(view.menu))
    for (std::size_t i = 0; i < menu->items.size() && i < view.items.size(); ++i)
      DrawItem(dc, menu->items[i], view.items[i], static_cast<int>(i) == view.highlighted);
  EndPaint(hwnd, &ps);
}

LRESULT PopupMenuProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PopupMenuView* view = ViewOf(hwnd);
  switch (message) {
    case WM_PAINT:
      if (!view) break;
      Paint(hwnd, *view);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case MN_GETHMENU:
      return view ? reinterpret_cast<LRESULT>(view->menu) : 0;
    case WM_MOUSEACTIVATE:
      return 3;  // MA_NOACTIVATE: a menu never takes the activation
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterPopupMenuClass() {
  WNDCLASSEXA existing{};
  if (GetClassInfoExA(nullptr, kPopupMenuClass, &existing)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_SAVEBITS | CS_DBLCLKS;
  wc.lpfnWndProc = PopupMenuProc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPopupMenuClass;
  RegisterClassExA(&wc);
}

PopupMenuView* ViewOf(HWND window) {
  char name[16] = {};
  if (!window || !GetClassNameA(window, name, sizeof name) || std::strcmp(name, kPopupMenuClass) != 0) return nullptr;
  return reinterpret_cast<PopupMenuView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

PopupMenuView LayOutMenu(HMENU menu) {
  PopupMenuView view;
  view.menu = menu;
  const MenuData* data = FindMenu(menu);
  if (!data) return view;
  // Laying out measures text only: a memory DC, not the screen's.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont(false));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  const int itemHeight = std::max(16, static_cast<int>(metrics.tmHeight) + 4);
  int labels = 0, shortcuts = 0;
  for (const MenuItem& item : data->items) {
    const auto [label, shortcut] = SplitAtTab(item.text);
    labels = std::max(labels, TextWidth(dc, label, item.IsDefault()));
    shortcuts = std::max(shortcuts, TextWidth(dc, shortcut, item.IsDefault()));
  }
  DeleteDC(dc);
  const int width = kTextLeft + labels + (shortcuts ? kShortcutGap + shortcuts : 0) + kRightMargin + kFrame;
  int y = kFrame;
  for (const MenuItem& item : data->items) {
    const int height = item.IsSeparator() ? kSeparatorHeight : itemHeight;
    view.items.push_back(RECT{kFrame, y, width - kFrame, y + height});
    y += height;
  }
  view.size = SIZE{width, y + kFrame};
  return view;
}

int MenuItemAt(const PopupMenuView& view, POINT client) {
  const MenuData* data = FindMenu(view.menu);
  if (!data) return -1;
  for (std::size_t i = 0; i < view.items.size() && i < data->items.size(); ++i) {
    const RECT& r = view.items[i];
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom)
      return data->items[i].IsSeparator() ? -1 : static_cast<int>(i);
  }
  return -1;
}

}  // namespace qm::ui::user
