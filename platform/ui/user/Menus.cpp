// Menus as objects: made, filled, asked about and destroyed by handle.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/kernel/LastError.h"
#include "platform/ui/user/AccessKey.h"
#include "platform/ui/user/MenuState.h"

namespace qm::ui::user {

namespace {

constexpr UINT kNoItem = static_cast<UINT>(-1);

struct MenuRegistry {
  std::map<HMENU, std::unique_ptr<MenuData>> menus;
  std::uintptr_t nextHandle = 0x2010;
};

MenuRegistry& Registry() {
  static MenuRegistry registry;
  return registry;
}

MenuItem MakeItem(UINT flags, UINT_PTR id, LPCSTR text) {
  MenuItem item;
  item.flags = flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT);
  item.id = item.flags & MF_SEPARATOR ? 0 : id;
  if (!(item.flags & MF_SEPARATOR) && text) item.text = text;
  return item;
}

// One default item at most: a new one takes the mark from the others.
void KeepOneDefault(MenuData& menu, std::size_t marked) {
  for (std::size_t i = 0; i < menu.items.size(); ++i)
    if (i != marked) menu.items[i].flags &= ~MF_DEFAULT;
}

}  // namespace

MenuData* FindMenu(HMENU menu) {
  auto& menus = Registry().menus;
  auto found = menus.find(menu);
  return found == menus.end() ? nullptr : found->second.get();
}

int MenuItemPosition(const MenuData& menu, UINT item, UINT flags) {
  const int count = static_cast<int>(menu.items.size());
  if (flags & MF_BYPOSITION) return static_cast<int>(item) < count ? static_cast<int>(item) : -1;
  for (int i = 0; i < count; ++i)
    if (!menu.items[static_cast<std::size_t>(i)].IsSeparator() && menu.items[static_cast<std::size_t>(i)].id == item)
      return i;
  return -1;
}

char32_t MenuAccessKey(const MenuItem& item) {
  return AccessKeyOf(item.text.substr(0, item.text.find('\t')));
}

}  // namespace qm::ui::user

using namespace qm::ui::user;

HMENU CreatePopupMenu() {
  auto& registry = Registry();
  HMENU handle = reinterpret_cast<HMENU>(registry.nextHandle);
  registry.nextHandle += 4;
  registry.menus[handle] = std::make_unique<MenuData>();
  return handle;
}

BOOL DestroyMenu(HMENU menu) {
  MenuData* data = FindMenu(menu);
  if (!data) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  // An open menu closes first.
  if (data->window && IsWindow(data->window)) DestroyWindow(data->window);
  Registry().menus.erase(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) ? TRUE : FALSE; }

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  MenuData* data = FindMenu(menu);
  if (!data) return FALSE;
  int at = static_cast<int>(data->items.size());
  // An item not found, or position -1, appends.
  if (position != kNoItem) {
    int found = MenuItemPosition(*data, position, flags);
    if (found >= 0) at = found;
  }
  data->items.insert(data->items.begin() + at, MakeItem(flags, id, text));
  if (flags & MF_DEFAULT) KeepOneDefault(*data, static_cast<std::size_t>(at));
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  return InsertMenuA(menu, kNoItem, flags | MF_BYPOSITION, id, text);
}

int GetMenuItemCount(HMENU menu) {
  MenuData* data = FindMenu(menu);
  return data ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuData* data = FindMenu(menu);
  if (!data || position < 0 || position >= static_cast<int>(data->items.size())) return kNoItem;
  const MenuItem& item = data->items[static_cast<std::size_t>(position)];
  return item.IsSeparator() ? kNoItem : static_cast<UINT>(item.id);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags) {
  MenuData* data = FindMenu(menu);
  const int position = data ? MenuItemPosition(*data, item, flags) : -1;
  if (position < 0) return 0;
  const std::string& itemText = data->items[static_cast<std::size_t>(position)].text;
  if (!text || maxCount <= 0) return static_cast<int>(itemText.size());
  const std::size_t count = std::min(itemText.size(), static_cast<std::size_t>(maxCount - 1));
  std::memcpy(text, itemText.data(), count);
  text[count] = '\0';
  return static_cast<int>(count);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuData* data = FindMenu(menu);
  const int position = data ? MenuItemPosition(*data, item, flags) : -1;
  return position < 0 ? kNoItem : data->items[static_cast<std::size_t>(position)].flags;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuData* data = FindMenu(menu);
  const int position = data ? MenuItemPosition(*data, item, enable) : -1;
  if (position < 0) return kNoItem;
  MenuItem& target = data->items[static_cast<std::size_t>(position)];
  const UINT previous = target.flags & (MF_GRAYED | MF_DISABLED);
  target.flags = (target.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  if (data->window) InvalidateRect(data->window, nullptr, FALSE);
  return previous;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  MenuData* data = FindMenu(menu);
  if (!data) return FALSE;
  if (item == kNoItem) {
    KeepOneDefault(*data, data->items.size());
    return TRUE;
  }
  const int position = MenuItemPosition(*data, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (position < 0 || data->items[static_cast<std::size_t>(position)].IsSeparator()) return FALSE;
  data->items[static_cast<std::size_t>(position)].flags |= MF_DEFAULT;
  KeepOneDefault(*data, static_cast<std::size_t>(position));
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
  MenuData* data = FindMenu(menu);
  if (!data) return kNoItem;
  for (std::size_t i = 0; i < data->items.size(); ++i)
    if (data->items[i].IsDefault()) return byPosition ? static_cast<UINT>(i) : static_cast<UINT>(data->items[i].id);
  return kNoItem;
}
