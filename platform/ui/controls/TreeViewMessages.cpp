// The tree view's window procedure: the TVM_ messages a program sends, and
// the window's own life. When the window is destroyed every item is
// deleted with its TVN_DELETEITEM, so a program can free what its items hold.
#include <cstring>
#include <optional>

#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/TreeView.h"

namespace qm::ui::controls {

namespace tree {

namespace {

Item* ItemOf(const TreeState& tree, LPARAM lParam) { return tree.Lookup(reinterpret_cast<HTREEITEM>(lParam)); }

LRESULT HandleOf(const Item* item) { return reinterpret_cast<LRESULT>(item ? item->handle : nullptr); }

Item* NextItem(TreeState& tree, UINT code, Item* item) {
  switch (code) {
    case TVGN_ROOT: return tree.firstRoot;
    case TVGN_NEXT: return item ? item->next : nullptr;
    case TVGN_PREVIOUS: return item ? item->prev : nullptr;
    case TVGN_PARENT: return item ? item->parent : nullptr;
    case TVGN_CHILD: return FirstChildOf(tree, item);
    case TVGN_CARET: return tree.caret;
    case TVGN_FIRSTVISIBLE:
      EnsureLayout(tree);
      return tree.rows.empty() ? nullptr : tree.rows[static_cast<std::size_t>(tree.firstRow)];
    case TVGN_NEXTVISIBLE: return IsRevealed(item) ? NextVisible(item) : nullptr;
    case TVGN_PREVIOUSVISIBLE: return IsRevealed(item) ? PreviousVisible(item) : nullptr;
    case TVGN_LASTVISIBLE: return LastVisible(tree);
    default: return nullptr;
  }
}

BOOL SelectItem(TreeState& tree, WPARAM code, LPARAM lParam) {
  Item* item = ItemOf(tree, lParam);
  if (lParam && !item) return FALSE;
  if (code == TVGN_CARET) return Select(tree, item, TVC_UNKNOWN) ? TRUE : FALSE;
  if (code == TVGN_FIRSTVISIBLE && item) {
    EnsureVisible(tree, item);
    if (int row = tree.RowOf(item); row >= 0) ScrollToRow(tree, row);
    return TRUE;
  }
  return FALSE;
}

BOOL ItemRect(TreeState& tree, bool labelOnly, RECT* rect) {
  if (!rect) return FALSE;
  HTREEITEM handle = nullptr;
  std::memcpy(&handle, rect, sizeof handle);
  Item* item = tree.Lookup(handle);
  if (!item) return FALSE;
  EnsureLayout(tree);
  if (tree.RowOf(item) < 0) return FALSE;
  RowGeometry g = GeometryOf(tree, *item);
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  *rect = labelOnly ? RECT{g.labelLeft, g.top, g.labelRight, g.top + tree.itemHeight}
                    : RECT{0, g.top, client.right, g.top + tree.itemHeight};
  return TRUE;
}

HIMAGELIST SetImageList(TreeState& tree, WPARAM kind, HIMAGELIST images) {
  if (kind != TVSIL_NORMAL) return nullptr;
  HIMAGELIST previous = tree.images;
  tree.images = images;
  tree.metricsDirty = true;
  MarkLayoutDirty(tree);
  return previous;
}

std::optional<LRESULT> TreeMessage(TreeState& tree, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TVM_INSERTITEMA:
      if (!lParam) return 0;
      return HandleOf(InsertItem(tree, *reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM: {
      auto handle = reinterpret_cast<HTREEITEM>(lParam);
      if (!handle || handle == TVI_ROOT) return DeleteItem(tree, nullptr) ? TRUE : FALSE;
      Item* item = tree.Lookup(handle);
      return item && DeleteItem(tree, item) ? TRUE : FALSE;
    }
    case TVM_EXPAND: return Expand(tree, ItemOf(tree, lParam), static_cast<UINT>(wParam), false) ? TRUE : FALSE;
    case TVM_GETITEMRECT: return ItemRect(tree, wParam != 0, reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT: return static_cast<LRESULT>(tree.items.size());
    case TVM_GETINDENT: return tree.indent;
    case TVM_GETIMAGELIST: return reinterpret_cast<LRESULT>(wParam == TVSIL_NORMAL ? tree.images : nullptr);
    case TVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(SetImageList(tree, wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case TVM_GETNEXTITEM: return HandleOf(NextItem(tree, static_cast<UINT>(wParam), ItemOf(tree, lParam)));
    case TVM_SELECTITEM: return SelectItem(tree, wParam, lParam);
    case TVM_GETITEMA: return lParam && GetItem(tree, *reinterpret_cast<TVITEMA*>(lParam)) ? TRUE : FALSE;
    case TVM_SETITEMA: return lParam && SetItem(tree, *reinterpret_cast<const TVITEMA*>(lParam)) ? TRUE : FALSE;
    case TVM_GETVISIBLECOUNT:
      EnsureLayout(tree);
      return VisibleRowCount(tree);
    case TVM_HITTEST: {
      if (!lParam) return 0;
      auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      Item* hit = HitTest(tree, info->pt, &info->flags);
      info->hItem = hit ? hit->handle : nullptr;
      return HandleOf(hit);
    }
    case TVM_ENSUREVISIBLE: {
      Item* item = ItemOf(tree, lParam);
      return item && EnsureVisible(tree, item) ? TRUE : FALSE;
    }
    case TVM_SORTCHILDRENCB: {
      auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
      if (!sort) return FALSE;
      Item* parent = nullptr;
      if (sort->hParent && sort->hParent != TVI_ROOT && !(parent = tree.Lookup(sort->hParent))) return FALSE;
      return SortChildren(tree, parent, sort->lpfnCompare, sort->lParam) ? TRUE : FALSE;
    }
    default: return std::nullopt;
  }
}

LRESULT PaintTree(TreeState& tree) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(tree.hwnd, &paint);
  if (dc) {
    HGDIOBJ oldFont = SelectObject(dc, EffectiveFont(tree.font));
    Paint(tree, dc, paint.rcPaint);
    SelectObject(dc, oldFont);
  }
  EndPaint(tree.hwnd, &paint);
  return 0;
}

}  // namespace

}  // namespace tree

LRESULT TreeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace tree;
  if (message == WM_NCCREATE) AttachState<TreeState>(hwnd)->hwnd = hwnd;
  TreeState* state = StateOf<TreeState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (auto answer = FontAndEraseMessage(hwnd, message, wParam, lParam, state->font)) {
    if (message == WM_SETFONT) {
      ++state->widthGeneration;
      state->metricsDirty = true;
      MarkLayoutDirty(*state);
    }
    return *answer;
  }
  if (auto answer = TreeMessage(*state, message, wParam, lParam)) return *answer;
  LRESULT result = 0;
  if (HandleInput(*state, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT: return PaintTree(*state);
    case WM_SIZE:
      // Bars coming and going while the layout sets them change the size too.
      if (!state->settingScrollBars) MarkLayoutDirty(*state);
      return 0;
    case WM_DESTROY:
      DeleteItem(*state, nullptr);
      return 0;
    case WM_NCDESTROY:
      DestroyState<TreeState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace qm::ui::controls
