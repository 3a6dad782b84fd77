// The user's side of the tree view: a click selects, a click on a button
// and a double click toggle, the keys move the selection and open and close
// items, the right button reports NM_RCLICK when it is released, and the
// scroll bars and the wheel move the view.
#include <algorithm>
#include <vector>

#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/TreeView.h"

namespace qm::ui::controls::tree {

namespace {

constexpr int WheelLines = 3;

POINT ClientPoint(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
               static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)))};
}

LRESULT NotifyCode(TreeState& tree, UINT code) {
  NMHDR header{};
  return Notify(tree, code, header);
}

void LeftButtonDown(TreeState& tree, POINT p) {
  if (GetFocus() != tree.hwnd) SetFocus(tree.hwnd);
  UINT flags = 0;
  Item* hit = HitTest(tree, p, &flags);
  HTREEITEM handle = hit ? hit->handle : nullptr;
  // A non-zero answer means the program has taken the click itself.
  if (NotifyCode(tree, NM_CLICK)) return;
  if (!(hit = tree.Lookup(handle))) return;
  if (flags & TVHT_ONITEMBUTTON)
    Expand(tree, hit, TVE_TOGGLE, true);
  else if (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))
    Select(tree, hit, TVC_BYMOUSE);
}

void DoubleClick(TreeState& tree, POINT p) {
  UINT flags = 0;
  Item* hit = HitTest(tree, p, &flags);
  HTREEITEM handle = hit ? hit->handle : nullptr;
  if (hit && (flags & TVHT_ONITEMBUTTON)) {
    Expand(tree, hit, TVE_TOGGLE, true);  // the second click of a double click on a button
    return;
  }
  if (NotifyCode(tree, NM_DBLCLK)) return;
  if ((hit = tree.Lookup(handle)) && (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)))
    Expand(tree, hit, TVE_TOGGLE, true);
}

void RightButtonUp(TreeState& tree, POINT p) {
  tree.rightButtonHeld = false;
  if (GetCapture() == tree.hwnd) ReleaseCapture();
  if (GetFocus() != tree.hwnd) SetFocus(tree.hwnd);
  if (NotifyCode(tree, NM_RCLICK)) return;
  if (!IsWindow(tree.hwnd)) return;
  ClientToScreen(tree.hwnd, &p);
  SendMessageA(tree.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.hwnd), MAKELPARAM(WORD(p.x), WORD(p.y)));
}

Item* RowAt(TreeState& tree, int row) {
  EnsureLayout(tree);
  if (tree.rows.empty()) return nullptr;
  row = std::clamp(row, 0, static_cast<int>(tree.rows.size()) - 1);
  return tree.rows[static_cast<std::size_t>(row)];
}

// What one press opens at most: below a drive that holds the host's whole
// file system, links lead into the same folders again and again, and the
// press would never come back.
constexpr std::size_t kMostExpandedAtOnce = 4096;

// Expands the item and everything below it, children loaded on the way
// included, up to kMostExpandedAtOnce items, nearest first in tree order.
void ExpandAll(TreeState& tree, Item* top) {
  std::vector<HTREEITEM> pending{top->handle};
  for (std::size_t expanded = 0; !pending.empty() && expanded < kMostExpandedAtOnce; ++expanded) {
    Item* item = tree.Lookup(pending.back());
    pending.pop_back();
    if (!item) continue;
    Expand(tree, item, TVE_EXPAND, true);
    if (!(item = tree.Lookup(item->handle))) continue;
    for (Item* child = item->lastChild; child; child = child->prev) pending.push_back(child->handle);
  }
}

void KeyDown(TreeState& tree, UINT key) {
  NMTVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  Notify(tree, TVN_KEYDOWN, nm.hdr);
  Item* caret = tree.caret;
  Item* target = nullptr;
  int page = std::max(1, VisibleRowCount(tree) - 1);
  switch (key) {
    case VK_UP: target = caret ? PreviousVisible(caret) : tree.firstRoot; break;
    case VK_DOWN: target = caret ? NextVisible(caret) : tree.firstRoot; break;
    case VK_HOME: target = tree.firstRoot; break;
    case VK_END: target = LastVisible(tree); break;
    case VK_PRIOR: target = caret ? RowAt(tree, tree.RowOf(caret) - page) : tree.firstRoot; break;
    case VK_NEXT: target = caret ? RowAt(tree, tree.RowOf(caret) + page) : tree.firstRoot; break;
    case VK_BACK: target = caret ? caret->parent : nullptr; break;
    case VK_LEFT:
      if (caret && caret->ShowsChildren())
        Expand(tree, caret, TVE_COLLAPSE, true);
      else if (caret)
        target = caret->parent;
      break;
    case VK_RIGHT:
      if (caret && caret->ShowsChildren())
        target = caret->firstChild;
      else if (caret)
        Expand(tree, caret, TVE_EXPAND, true);
      break;
    case VK_ADD:
      if (caret) Expand(tree, caret, TVE_EXPAND, true);
      break;
    case VK_SUBTRACT:
      if (caret) Expand(tree, caret, TVE_COLLAPSE, true);
      break;
    case VK_MULTIPLY:
      if (caret) ExpandAll(tree, caret);
      break;
    default: break;
  }
  if (target && target != caret) Select(tree, target, TVC_BYKEYBOARD);
}

// Where the thumb is dragged to, in the full 32 bits the message cannot carry.
void VerticalScroll(TreeState& tree, WORD code) {
  EnsureLayout(tree);
  int page = std::max(1, VisibleRowCount(tree));
  if (auto row = ScrolledPosition(tree.hwnd, SB_VERT, code, tree.firstRow, 1, page, static_cast<int>(tree.rows.size())))
    ScrollToRow(tree, *row);
}

void HorizontalScroll(TreeState& tree, WORD code) {
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  if (auto x = ScrolledPosition(tree.hwnd, SB_HORZ, code, tree.scrollX, tree.itemHeight,
                                static_cast<int>(client.right), tree.contentWidth))
    ScrollToX(tree, *x);
}

// Each notch of the wheel scrolls three rows; smaller turns add up.
void Wheel(TreeState& tree, short delta) {
  tree.wheelRemainder += delta;
  int notches = tree.wheelRemainder / WHEEL_DELTA;
  tree.wheelRemainder -= notches * WHEEL_DELTA;
  if (notches) ScrollToRow(tree, tree.firstRow - notches * WheelLines);
}

void FocusChanged(TreeState& tree, bool focused) {
  tree.focused = focused;
  if (tree.caret) InvalidateItem(tree, tree.caret);
  NotifyCode(tree, focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

}  // namespace

bool HandleInput(TreeState& tree, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_LBUTTONDOWN: LeftButtonDown(tree, ClientPoint(lParam)); return true;
    case WM_LBUTTONDBLCLK: DoubleClick(tree, ClientPoint(lParam)); return true;
    case WM_RBUTTONDOWN:
      // Held until released: the click is reported on the way up.
      tree.rightButtonHeld = true;
      SetCapture(tree.hwnd);
      return true;
    case WM_RBUTTONUP:
      if (tree.rightButtonHeld) RightButtonUp(tree, ClientPoint(lParam));
      return true;
    case WM_CAPTURECHANGED: tree.rightButtonHeld = false; return true;
    case WM_KEYDOWN: KeyDown(tree, static_cast<UINT>(wParam)); return true;
    case WM_CHAR: return true;
    case WM_SETFOCUS: FocusChanged(tree, true); return true;
    case WM_KILLFOCUS: FocusChanged(tree, false); return true;
    case WM_VSCROLL: VerticalScroll(tree, LOWORD(wParam)); return true;
    case WM_HSCROLL: HorizontalScroll(tree, LOWORD(wParam)); return true;
    case WM_MOUSEWHEEL: Wheel(tree, static_cast<short>(HIWORD(wParam))); return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    default: return false;
  }
}

}  // namespace qm::ui::controls::tree
