// The tree view's items: inserting where the program says, deleting with a
// notification for each item, reading and changing their fields, sorting
// siblings, and walking the items the user can scroll to.
#include <algorithm>
#include <cstring>

#include "platform/kernel/NameCase.h"
#include "platform/ui/controls/TreeView.h"

namespace qm::ui::controls::tree {

namespace {

Item*& FirstOf(TreeState& tree, Item* parent) { return parent ? parent->firstChild : tree.firstRoot; }
Item*& LastOf(TreeState& tree, Item* parent) { return parent ? parent->lastChild : tree.lastRoot; }

// Links the item in after `after` (null: first) among the parent's children.
void Link(TreeState& tree, Item* parent, Item* after, Item* item) {
  Item*& first = FirstOf(tree, parent);
  Item*& last = LastOf(tree, parent);
  item->parent = parent;
  item->prev = after;
  item->next = after ? after->next : first;
  if (item->next)
    item->next->prev = item;
  else
    last = item;
  if (after)
    after->next = item;
  else
    first = item;
}

void Unlink(TreeState& tree, Item* item) {
  (item->prev ? item->prev->next : FirstOf(tree, item->parent)) = item->next;
  (item->next ? item->next->prev : LastOf(tree, item->parent)) = item->prev;
  item->prev = item->next = nullptr;
}

// Where TVI_SORT puts a text: after the last sibling whose text does not
// come after it, ignoring case.
Item* SortedPlace(TreeState& tree, Item* parent, const std::string& text) {
  std::string key = qm::kernel::UpcaseName(text);
  Item* after = nullptr;
  for (Item* sibling = FirstOf(tree, parent); sibling; sibling = sibling->next) {
    if (qm::kernel::UpcaseName(sibling->text) > key) break;
    after = sibling;
  }
  return after;
}

void Apply(TreeState& tree, Item& item, const TVITEMA& in) {
  if (in.mask & TVIF_TEXT) {
    item.text = (in.pszText && in.pszText != LPSTR_TEXTCALLBACKA) ? in.pszText : "";
    item.widthGeneration = 0;
  }
  if (in.mask & TVIF_IMAGE) item.image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) item.selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_PARAM) item.param = in.lParam;
  if (in.mask & TVIF_CHILDREN) {
    item.childrenFlag = in.cChildren;
    item.childrenFlagSet = true;
  }
  if (in.mask & TVIF_STATE) item.state = (item.state & ~in.stateMask) | (in.state & in.stateMask);
  MarkLayoutDirty(tree);
}

int ChildrenValue(const Item& item) {
  if (item.childrenFlagSet) return item.childrenFlag;
  return item.firstChild ? 1 : 0;
}

bool Contains(const Item* ancestor, const Item* item) {
  for (; item; item = item->parent)
    if (item == ancestor) return true;
  return false;
}

void DeleteOne(TreeState& tree, Item* item) {
  NMTREEVIEWA nm{};
  nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
  nm.itemOld.hItem = item->handle;
  nm.itemOld.lParam = item->param;
  Notify(tree, TVN_DELETEITEMA, nm.hdr);
  if (tree.caret == item) tree.caret = nullptr;
  if (tree.topItem == item) tree.topItem = nullptr;
  Unlink(tree, item);
  tree.items.erase(item->handle);
}

// Children before parents: down to the first leaf, delete it, back to its
// parent, and again, without recursion however deep the tree is.
void DeleteSubtree(TreeState& tree, Item* top) {
  Item* current = top;
  for (;;) {
    while (current->firstChild) current = current->firstChild;
    Item* parent = current->parent;
    bool last = current == top;
    DeleteOne(tree, current);
    if (last) return;
    current = parent;
  }
}

// A bottom-up merge sort: stable, and safe with a callback that does not
// order consistently (it only ever compares two items in range).
void MergeSort(std::vector<Item*>& items, PFNTVCOMPARE compare, LPARAM param) {
  std::vector<Item*> buffer(items.size());
  for (std::size_t width = 1; width < items.size(); width *= 2) {
    for (std::size_t left = 0; left < items.size(); left += 2 * width) {
      std::size_t middle = std::min(left + width, items.size()), right = std::min(left + 2 * width, items.size());
      std::size_t i = left, j = middle, out = left;
      while (i < middle && j < right)
        buffer[out++] = compare(items[j]->param, items[i]->param, param) < 0 ? items[j++] : items[i++];
      while (i < middle) buffer[out++] = items[i++];
      while (j < right) buffer[out++] = items[j++];
    }
    items.swap(buffer);
  }
}

}  // namespace

Item* TreeState::Lookup(HTREEITEM handle) const {
  if (!handle) return nullptr;
  auto it = items.find(handle);
  return it == items.end() ? nullptr : it->second.get();
}

Item* InsertItem(TreeState& tree, const TVINSERTSTRUCTA& insert) {
  if (tree.deleting) return nullptr;
  Item* parent = nullptr;
  if (insert.hParent && insert.hParent != TVI_ROOT && !(parent = tree.Lookup(insert.hParent))) return nullptr;
  auto owned = std::make_unique<Item>();
  Item* item = owned.get();
  item->handle = reinterpret_cast<HTREEITEM>(tree.nextHandle++);
  item->depth = parent ? parent->depth + 1 : 0;
  Apply(tree, *item, insert.item);
  Item* after = LastOf(tree, parent);
  if (insert.hInsertAfter == TVI_FIRST) {
    after = nullptr;
  } else if (insert.hInsertAfter == TVI_SORT) {
    after = SortedPlace(tree, parent, item->text);
  } else if (Item* sibling = tree.Lookup(insert.hInsertAfter); sibling && sibling->parent == parent) {
    after = sibling;
  }
  Link(tree, parent, after, item);
  tree.items.emplace(item->handle, std::move(owned));
  return item;
}

bool DeleteItem(TreeState& tree, Item* item) {
  if (tree.deleting) return false;
  if (item && tree.caret && Contains(item, tree.caret)) {
    HTREEITEM handle = item->handle;
    Item* neighbour = item->prev ? item->prev : item->parent ? item->parent : item->next;
    Select(tree, neighbour, TVC_UNKNOWN);
    // The program's answer to the selection change may have deleted it already.
    if (!(item = tree.Lookup(handle))) return true;
  }
  tree.deleting = true;
  if (item) {
    DeleteSubtree(tree, item);
  } else {
    tree.caret = nullptr;
    while (tree.firstRoot) DeleteSubtree(tree, tree.firstRoot);
  }
  tree.deleting = false;
  MarkLayoutDirty(tree);
  return true;
}

void FillItem(const Item& item, TVITEMA& out) {
  out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  out.hItem = item.handle;
  out.state = item.state;
  out.stateMask = 0xFFFF;
  out.pszText = const_cast<char*>(item.text.c_str());
  out.cchTextMax = static_cast<int>(item.text.size()) + 1;
  out.iImage = item.image;
  out.iSelectedImage = item.selectedImage;
  out.cChildren = ChildrenValue(item);
  out.lParam = item.param;
}

bool GetItem(const TreeState& tree, TVITEMA& query) {
  const Item* item = tree.Lookup(query.hItem);
  if (!item) return false;
  if ((query.mask & TVIF_TEXT) && query.pszText && query.cchTextMax > 0) {
    std::size_t count = std::min(item->text.size(), static_cast<std::size_t>(query.cchTextMax - 1));
    std::memcpy(query.pszText, item->text.data(), count);
    query.pszText[count] = '\0';
  }
  if (query.mask & TVIF_IMAGE) query.iImage = item->image;
  if (query.mask & TVIF_SELECTEDIMAGE) query.iSelectedImage = item->selectedImage;
  if (query.mask & TVIF_PARAM) query.lParam = item->param;
  if (query.mask & TVIF_CHILDREN) query.cChildren = ChildrenValue(*item);
  if (query.mask & TVIF_STATE) query.state = item->state & query.stateMask;
  return true;
}

bool SetItem(TreeState& tree, const TVITEMA& change) {
  Item* item = tree.Lookup(change.hItem);
  if (!item) return false;
  Apply(tree, *item, change);
  return true;
}

bool SortChildren(TreeState& tree, Item* parent, PFNTVCOMPARE compare, LPARAM param) {
  if (!compare) return false;
  std::vector<Item*> children;
  for (Item* child = FirstOf(tree, parent); child; child = child->next) children.push_back(child);
  MergeSort(children, compare, param);
  FirstOf(tree, parent) = nullptr;
  LastOf(tree, parent) = nullptr;
  Item* after = nullptr;
  for (Item* child : children) {
    child->prev = child->next = nullptr;
    Link(tree, parent, after, child);
    after = child;
  }
  MarkLayoutDirty(tree);
  return true;
}

Item* NextVisible(const Item* item) {
  if (!item) return nullptr;
  if (item->ShowsChildren()) return item->firstChild;
  for (const Item* x = item; x; x = x->parent)
    if (x->next) return x->next;
  return nullptr;
}

Item* PreviousVisible(const Item* item) {
  if (!item) return nullptr;
  if (!item->prev) return item->parent;
  Item* x = item->prev;
  while (x->ShowsChildren()) x = x->lastChild;
  return x;
}

Item* LastVisible(const TreeState& tree) {
  Item* x = tree.lastRoot;
  while (x && x->ShowsChildren()) x = x->lastChild;
  return x;
}

bool IsRevealed(const Item* item) {
  for (const Item* p = item ? item->parent : nullptr; p; p = p->parent)
    if (!p->IsExpanded()) return false;
  return item != nullptr;
}

Item* FirstChildOf(const TreeState& tree, const Item* parent) {
  return parent ? parent->firstChild : tree.firstRoot;
}

}  // namespace qm::ui::controls::tree
