// What the tree view tells its parent about: expanding and collapsing
// (TVN_ITEMEXPANDING may refuse, and is the program's chance to add the
// children of an item it only promised), selection changes (TVN_SELCHANGING
// may refuse), and bringing an item into view. The parent's handlers may
// change the tree while they run, so items are looked up again afterwards.
#include "platform/ui/controls/TreeView.h"

#include <vector>

namespace qm::ui::controls::tree {

namespace {

bool Contains(const Item* ancestor, const Item* item) {
  for (; item; item = item->parent)
    if (item == ancestor) return true;
  return false;
}

bool ExpandItem(TreeState& tree, Item* item, bool byUser) {
  if (item->IsExpanded() && item->firstChild) return true;
  if (!item->HasButtonChildren()) return false;
  HTREEITEM handle = item->handle;
  bool notify = byUser || !(item->state & TVIS_EXPANDEDONCE);
  if (notify && NotifyTree(tree, TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, handle)) return false;
  if (!(item = tree.Lookup(handle))) return false;
  if (!item->firstChild) {
    // The promise of children was not kept: the button goes.
    item->childrenFlag = 0;
    InvalidateItem(tree, item);
    return false;
  }
  item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  MarkLayoutDirty(tree);
  if (notify) NotifyTree(tree, TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, handle);
  return true;
}

bool CollapseItem(TreeState& tree, Item* item, bool byUser, bool reset) {
  if (!item->IsExpanded()) return false;
  HTREEITEM handle = item->handle;
  bool notify = byUser || !(item->state & TVIS_EXPANDEDONCE);
  if (notify && NotifyTree(tree, TVN_ITEMEXPANDINGA, TVE_COLLAPSE, nullptr, handle)) return false;
  if (!(item = tree.Lookup(handle))) return false;
  item->state &= ~TVIS_EXPANDED;
  MarkLayoutDirty(tree);
  // A selection the collapse hides moves up to the collapsed item.
  if (tree.caret && tree.caret != item && Contains(item, tree.caret)) Select(tree, item, TVC_UNKNOWN);
  if (reset && (item = tree.Lookup(handle))) {
    while (item && item->firstChild) {
      DeleteItem(tree, item->firstChild);
      item = tree.Lookup(handle);
    }
    if (item) item->state &= ~TVIS_EXPANDEDONCE;
  }
  if (notify) NotifyTree(tree, TVN_ITEMEXPANDEDA, TVE_COLLAPSE, nullptr, handle);
  return true;
}

}  // namespace

LRESULT Notify(TreeState& tree, UINT code, NMHDR& header) {
  header.hwndFrom = tree.hwnd;
  header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(tree.hwnd, GWLP_ID));
  header.code = code;
  HWND parent = GetParent(tree.hwnd);
  if (!parent) return 0;
  return SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT NotifyTree(TreeState& tree, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem) {
  NMTREEVIEWA nm{};
  nm.action = action;
  if (oldItem) {
    if (const Item* item = tree.Lookup(oldItem)) FillItem(*item, nm.itemOld);
    nm.itemOld.hItem = oldItem;
  }
  if (newItem) {
    if (const Item* item = tree.Lookup(newItem)) FillItem(*item, nm.itemNew);
    nm.itemNew.hItem = newItem;
  }
  GetCursorPos(&nm.ptDrag);
  ScreenToClient(tree.hwnd, &nm.ptDrag);
  return Notify(tree, code, nm.hdr);
}

bool Expand(TreeState& tree, Item* item, UINT action, bool byUser) {
  if (!item) return false;
  UINT code = action & TVE_TOGGLE;
  if (code == TVE_TOGGLE) code = item->IsExpanded() && item->firstChild ? TVE_COLLAPSE : TVE_EXPAND;
  if (code == TVE_EXPAND) return ExpandItem(tree, item, byUser);
  if (code == TVE_COLLAPSE) return CollapseItem(tree, item, byUser, (action & TVE_COLLAPSERESET) != 0);
  return false;
}

bool Select(TreeState& tree, Item* item, UINT cause) {
  if (item == tree.caret) {
    if (item) EnsureVisible(tree, item);
    return true;
  }
  HTREEITEM newHandle = item ? item->handle : nullptr;
  HTREEITEM oldHandle = tree.caret ? tree.caret->handle : nullptr;
  if (NotifyTree(tree, TVN_SELCHANGINGA, cause, oldHandle, newHandle)) return false;
  item = tree.Lookup(newHandle);
  if (newHandle && !item) return false;
  if (Item* old = tree.caret) {
    old->state &= ~TVIS_SELECTED;
    InvalidateItem(tree, old);
  }
  tree.caret = item;
  if (item) {
    item->state |= TVIS_SELECTED;
    InvalidateItem(tree, item);
    EnsureVisible(tree, item);
  }
  NotifyTree(tree, TVN_SELCHANGEDA, cause, oldHandle, newHandle);
  return true;
}

bool EnsureVisible(TreeState& tree, Item* item) {
  HTREEITEM handle = item->handle;
  std::vector<HTREEITEM> ancestors;
  for (Item* p = item->parent; p; p = p->parent) ancestors.push_back(p->handle);
  bool expanded = false;
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    Item* ancestor = tree.Lookup(*it);
    if (!ancestor) return false;
    if (ancestor->IsExpanded()) continue;
    if (!Expand(tree, ancestor, TVE_EXPAND, true)) return false;
    expanded = true;
  }
  if (!(item = tree.Lookup(handle))) return false;
  EnsureLayout(tree);
  int row = tree.RowOf(item);
  if (row < 0) return false;
  int visible = std::max(1, VisibleRowCount(tree));
  bool scrolled = false;
  if (row < tree.firstRow || row >= tree.firstRow + visible) {
    ScrollToRow(tree, row < tree.firstRow ? row : row - visible + 1);
    scrolled = true;
  }
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  RowGeometry g = GeometryOf(tree, *item);
  if (g.labelRight > client.right) ScrollToX(tree, tree.scrollX + std::min(g.labelRight - client.right, g.iconLeft));
  if (g.iconLeft < 0) ScrollToX(tree, tree.scrollX + g.iconLeft);
  return scrolled && !expanded;
}

}  // namespace qm::ui::controls::tree
