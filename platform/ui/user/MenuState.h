// The window system's record of its menus: the items of each menu by
// handle, shared by the menu functions (Menus.cpp) and the popup menu that
// shows one (PopupMenu.cpp, PopupMenuPaint.cpp).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"

namespace qm::ui::user {

struct MenuItem {
  UINT flags = MF_STRING;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_DEFAULT
  UINT_PTR id = 0;
  std::string text;  // "&Open\tCtrl+O": access key after '&', text after a tab at the right

  bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool IsGreyed() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool IsDefault() const { return (flags & MF_DEFAULT) != 0; }
};

struct MenuData {
  std::vector<MenuItem> items;
  HWND window = nullptr;  // the popup window while the menu is open
};

// Null for a handle that is no menu (never made, or destroyed).
MenuData* FindMenu(HMENU menu);
// The position of an item given by command id (MF_BYCOMMAND) or position
// (MF_BYPOSITION); -1 when there is none.
int MenuItemPosition(const MenuData& menu, UINT item, UINT flags);
// The item's access key upper-cased as names are: the character after the
// first single '&'; 0 when there is none.
char32_t MenuAccessKey(const MenuItem& item);

}  // namespace qm::ui::user
