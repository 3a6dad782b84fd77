// Reading tree views: items by their path of texts, the items shown, the
// selection, and where on the screen an item's label and button are.
#include <sstream>

#include "platform/ui/Automation.h"
#include "platform/ui/automation/TreeSupport.h"

namespace qm::ui::automation {

namespace {

HTREEITEM Next(HWND tree, UINT code, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

std::string ItemText(HWND tree, HTREEITEM item) {
  char buffer[1024] = {};
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_HANDLE;
  query.hItem = item;
  query.pszText = buffer;
  query.cchTextMax = sizeof buffer;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return buffer;
}

UINT ItemState(HWND tree, HTREEITEM item) {
  TVITEMA query{};
  query.mask = TVIF_STATE | TVIF_HANDLE;
  query.hItem = item;
  query.stateMask = 0xFFFF;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return query.state;
}

HTREEITEM ChildWithText(HWND tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM child = parent ? Next(tree, TVGN_CHILD, parent) : Next(tree, TVGN_ROOT, nullptr); child;
       child = Next(tree, TVGN_NEXT, child))
    if (ItemText(tree, child) == text) return child;
  return nullptr;
}

std::string Quoted(const ItemPath& path) {
  std::string out;
  for (const std::string& piece : path) out += (out.empty() ? "\"" : " \"") + piece + "\"";
  return out;
}

[[noreturn]] void FailLookup(HWND tree, const ItemPath& path, std::size_t missing, HTREEITEM parent) {
  std::ostringstream out;
  out << "no item \"" << path[missing] << "\" ";
  if (parent)
    out << "under " << Quoted(ItemPath(path.begin(), path.begin() + static_cast<long>(missing)));
  else
    out << "at the top of the tree";
  out << "; the items there:";
  bool any = false;
  for (HTREEITEM child = parent ? Next(tree, TVGN_CHILD, parent) : Next(tree, TVGN_ROOT, nullptr); child;
       child = Next(tree, TVGN_NEXT, child), any = true)
    out << " \"" << ItemText(tree, child) << "\"";
  if (!any) out << " none";
  out << "\nThe tree shows:";
  for (const std::string& line : ShownItems(tree)) out << "\n  " << line;
  throw AutomationError(out.str());
}

HTREEITEM FindItem(HWND tree, const ItemPath& path) {
  HTREEITEM item = nullptr;
  for (std::size_t i = 0; i < path.size(); ++i) {
    HTREEITEM child = ChildWithText(tree, item, path[i]);
    if (!child) FailLookup(tree, path, i, item);
    item = child;
  }
  return item;
}

std::vector<std::string> ShownItems(HWND tree) {
  std::vector<std::string> lines;
  for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item; item = Next(tree, TVGN_NEXTVISIBLE, item)) {
    int depth = 0;
    for (HTREEITEM p = Next(tree, TVGN_PARENT, item); p; p = Next(tree, TVGN_PARENT, p)) ++depth;
    lines.push_back(std::string(static_cast<std::size_t>(2 * depth), ' ') + ItemText(tree, item));
  }
  return lines;
}

ItemPath PathOf(HWND tree, HTREEITEM item) {
  ItemPath path;
  for (; item; item = Next(tree, TVGN_PARENT, item)) path.insert(path.begin(), ItemText(tree, item));
  return path;
}

HTREEITEM FindTreeItem(const ControlRef& tree, const ItemPath& path, HWND window) {
  if (path.empty()) throw AutomationError("an item path needs at least one text");
  return FindItem(FindControl(tree, window), path);
}

std::vector<std::string> TreeItems(const ControlRef& tree, HWND window) { return ShownItems(FindControl(tree, window)); }

ItemPath TreeSelection(const ControlRef& tree, HWND window) {
  HWND hwnd = FindControl(tree, window);
  return PathOf(hwnd, Next(hwnd, TVGN_CARET, nullptr));
}

POINT TreeItemPoint(HWND tree, HTREEITEM item, bool button) {
  RECT client{}, label{};
  GetClientRect(tree, &client);
  TreeView_GetItemRect(tree, item, &label, TRUE);
  POINT centre{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
  if (!Contains(client, centre)) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    TreeView_GetItemRect(tree, item, &label, TRUE);
    centre = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
  }
  if (button) {
    // The button is wherever the tree answers TVHT_ONITEMBUTTON left of the label.
    int first = -1, last = -1;
    for (int x = 0; x < label.left; ++x) {
      TVHITTESTINFO hit{{x, centre.y}, 0, nullptr};
      SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.hItem != item || !(hit.flags & TVHT_ONITEMBUTTON)) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) throw AutomationError("the item \"" + ItemText(tree, item) + "\" has no button");
    centre.x = (first + last) / 2;
  }
  ClientToScreen(tree, &centre);
  return centre;
}

}  // namespace qm::ui::automation
