// What the tree steps and lookups of the driver share.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Automation.h"

namespace qm::ui::automation {

std::string ItemText(HWND tree, HTREEITEM item);
UINT ItemState(HWND tree, HTREEITEM item);
// Among the item's children (null: the top level).
HTREEITEM ChildWithText(HWND tree, HTREEITEM parent, const std::string& text);
// "A" "B" "C", as a script writes a path.
std::string Quoted(const ItemPath& path);
// Fails naming what is under `parent`, where path[missing] was looked for,
// and what the tree shows.
[[noreturn]] void FailLookup(HWND tree, const ItemPath& path, std::size_t missing, HTREEITEM parent);
HTREEITEM FindItem(HWND tree, const ItemPath& path);
std::vector<std::string> ShownItems(HWND tree);
ItemPath PathOf(HWND tree, HTREEITEM item);

}  // namespace qm::ui::automation
