// How an open popup menu is laid out and drawn (PopupMenuPaint.cpp), for
// the loop that tracks it (PopupMenu.cpp): the window of class "#32768"
// that shows a menu, the rectangles of its items, and the highlighted one.
#pragma once

#include <vector>

#include "platform/ui/user/MenuState.h"

namespace qm::ui::user {

inline constexpr char kPopupMenuClass[] = "#32768";

struct PopupMenuView {
  HMENU menu = nullptr;
  std::vector<RECT> items;  // client coordinates, by position
  SIZE size{};              // the whole window
  int highlighted = -1;
};

// Registers the class of popup menu windows (once).
void RegisterPopupMenuClass();
// Measures the menu in the menu font: items as wide as the widest text,
// separators thin; the raised frame around them.
PopupMenuView LayOutMenu(HMENU menu);
// The view a popup menu window shows; null for other windows.
PopupMenuView* ViewOf(HWND window);
// The item at a point in the window's client coordinates; -1 for none (a
// separator, the frame, outside).
int MenuItemAt(const PopupMenuView& view, POINT client);

}  // namespace qm::ui::user
