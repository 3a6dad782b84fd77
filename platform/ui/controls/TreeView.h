// The tree view (SysTreeView32): what its units share. Items are linked to
// their parent and siblings, so inserting, deleting and walking are cheap at
// any size; the list of rows the user can scroll through (the items whose
// ancestors are all expanded) is rebuilt only when something asks for it
// after a change, and painting looks at the rows on screen only.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/CommCtrl.h"

namespace qm::ui::controls::tree {

struct Item {
  HTREEITEM handle = nullptr;
  Item* parent = nullptr;  // null at the top level
  Item* firstChild = nullptr;
  Item* lastChild = nullptr;
  Item* prev = nullptr;
  Item* next = nullptr;
  int depth = 0;
  std::string text;
  int image = 0;
  int selectedImage = 0;
  LPARAM param = 0;
  UINT state = 0;              // TVIS_ bits
  int childrenFlag = 0;        // cChildren as the program gave it
  bool childrenFlagSet = false;
  int row = -1;                // valid while rowGeneration is the tree's
  unsigned rowGeneration = 0;
  int textWidth = 0;           // valid while widthGeneration is the tree's
  unsigned widthGeneration = 0;

  bool IsExpanded() const { return (state & TVIS_EXPANDED) != 0; }
  bool ShowsChildren() const { return IsExpanded() && firstChild; }
  // What the button shows: children, or the program's promise of them.
  bool HasButtonChildren() const { return firstChild || (childrenFlagSet && childrenFlag != 0); }
};

struct TreeState {
  HWND hwnd = nullptr;
  std::unordered_map<HTREEITEM, std::unique_ptr<Item>> items;
  Item* firstRoot = nullptr;
  Item* lastRoot = nullptr;
  std::uintptr_t nextHandle = 1;
  bool deleting = false;  // no new items while TVN_DELETEITEM runs

  Item* caret = nullptr;  // the selected item
  bool focused = false;
  HFONT font = nullptr;
  HIMAGELIST images = nullptr;

  // Layout, rebuilt lazily.
  bool layoutDirty = true;
  bool metricsDirty = true;  // the font or the image list changed
  int imageWidth = 0;
  int imageHeight = 0;
  unsigned rowGeneration = 1;
  unsigned widthGeneration = 1;
  std::vector<Item*> rows;
  int itemHeight = 16;
  int indent = 19;
  int contentWidth = 0;
  int firstRow = 0;       // the row at the top of the view
  Item* topItem = nullptr;  // keeps the view on the same item when rows come and go above it
  int scrollX = 0;
  bool settingScrollBars = false;

  int wheelRemainder = 0;
  bool rightButtonHeld = false;

  Item* Lookup(HTREEITEM handle) const;
  int RowOf(const Item* item) const { return item && item->rowGeneration == rowGeneration ? item->row : -1; }
};

// ---- Items (TreeViewItems.cpp) ---------------------------------------------------
Item* InsertItem(TreeState& tree, const TVINSERTSTRUCTA& insert);
// Deletes the item and everything under it, children before parents, each
// with TVN_DELETEITEM; null deletes all. A deleted selection moves on to a
// neighbour, as the user would see it.
bool DeleteItem(TreeState& tree, Item* item);
void FillItem(const Item& item, TVITEMA& out);  // everything, for notifications
bool GetItem(const TreeState& tree, TVITEMA& query);
bool SetItem(TreeState& tree, const TVITEMA& change);
bool SortChildren(TreeState& tree, Item* parent, PFNTVCOMPARE compare, LPARAM param);
Item* NextVisible(const Item* item);
Item* PreviousVisible(const Item* item);
Item* LastVisible(const TreeState& tree);
// Every ancestor expanded.
bool IsRevealed(const Item* item);
Item* FirstChildOf(const TreeState& tree, const Item* parent);

// ---- Expanding, selecting, revealing (TreeViewActions.cpp) ------------------------
// `byUser`: a click or key, which always notifies; otherwise the TVM_EXPAND rules.
bool Expand(TreeState& tree, Item* item, UINT action, bool byUser);
bool Select(TreeState& tree, Item* item, UINT cause);
// Expands the ancestors and scrolls the item into view; true when it only scrolled.
bool EnsureVisible(TreeState& tree, Item* item);
LRESULT Notify(TreeState& tree, UINT code, NMHDR& header);
// itemOld and itemNew filled from the items, when they still exist.
LRESULT NotifyTree(TreeState& tree, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem);

// ---- Layout (TreeViewLayout.cpp) ----------------------------------------------------
void MarkLayoutDirty(TreeState& tree);
void EnsureLayout(TreeState& tree);
int VisibleRowCount(const TreeState& tree);  // rows fully inside the client area
// Horizontal places of a row's parts, in client coordinates.
struct RowGeometry {
  int top = 0;
  int buttonLeft = 0;  // the column with the item's button and its lines
  int iconLeft = 0;
  int labelLeft = 0;
  int labelRight = 0;
  bool hasButton = false;
  bool hasIcon = false;
};
RowGeometry GeometryOf(TreeState& tree, const Item& item);
// True for lines or buttons at the top level.
bool LinesAtRoot(HWND hwnd);
Item* HitTest(TreeState& tree, POINT client, UINT* flags);
void ScrollToRow(TreeState& tree, int row);
void ScrollToX(TreeState& tree, int x);
void InvalidateItem(TreeState& tree, const Item* item);

// ---- Painting and input (TreeViewPaint.cpp, TreeViewInput.cpp) -------------------
void Paint(TreeState& tree, HDC dc, const RECT& area);
// Mouse, keyboard, focus and scrolling messages; false when not one of them.
bool HandleInput(TreeState& tree, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace qm::ui::controls::tree
