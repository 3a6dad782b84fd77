// Where the tree view's rows are: one row per item whose ancestors are all
// expanded, each indented by its depth (one more level when the top level
// has lines or buttons), an icon from the image list, then the label. The
// scroll bars show the rows and the widest label against the client area.
#include <algorithm>

#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/TreeView.h"

namespace qm::ui::controls::tree {

namespace {

constexpr int LabelPadding = 2;  // on each side of the text, inside the highlight

void UpdateMetrics(TreeState& tree, HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  tree.imageWidth = tree.imageHeight = 0;
  if (tree.images) ImageList_GetIconSize(tree.images, &tree.imageWidth, &tree.imageHeight);
  // Rows of an even height keep the dotted lines of neighbouring rows in step.
  int height = std::max<int>(metrics.tmHeight + 3, tree.imageHeight + 2);
  tree.itemHeight = height + (height & 1);
  tree.metricsDirty = false;
}

int TextWidth(TreeState& tree, Item& item, HDC dc) {
  if (item.widthGeneration == tree.widthGeneration) return item.textWidth;
  SIZE size{};
  if (!item.text.empty()) GetTextExtentPoint32A(dc, item.text.c_str(), static_cast<int>(item.text.size()), &size);
  item.textWidth = size.cx;
  item.widthGeneration = tree.widthGeneration;
  return item.textWidth;
}

int Level(const TreeState& tree, const Item& item) { return item.depth + (LinesAtRoot(tree.hwnd) ? 1 : 0); }

int LabelLeftUnscrolled(const TreeState& tree, const Item& item) {
  return tree.indent * Level(tree, item) + (tree.images ? tree.imageWidth + 1 : 0);
}

// The scroll bars for the rows and the widest label; showing or hiding one
// changes the client area, so this settles over a few rounds.
void UpdateScrollBars(TreeState& tree) {
  tree.settingScrollBars = true;
  int total = static_cast<int>(tree.rows.size());
  for (int round = 0; round < 3; ++round) {
    RECT client{};
    GetClientRect(tree.hwnd, &client);
    int visible = VisibleRowCount(tree);
    tree.firstRow = std::clamp(tree.firstRow, 0, std::max(0, total - visible));
    tree.scrollX = std::clamp(tree.scrollX, 0, std::max(0, tree.contentWidth - static_cast<int>(client.right)));
    SCROLLINFO vertical{sizeof vertical, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, total - 1),
                        static_cast<UINT>(visible), tree.firstRow, 0};
    SetScrollInfo(tree.hwnd, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal{sizeof horizontal, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, tree.contentWidth - 1),
                          static_cast<UINT>(client.right), tree.scrollX, 0};
    SetScrollInfo(tree.hwnd, SB_HORZ, &horizontal, TRUE);
    RECT after{};
    GetClientRect(tree.hwnd, &after);
    if (after.right == client.right && after.bottom == client.bottom) break;
  }
  tree.topItem = total ? tree.rows[static_cast<std::size_t>(tree.firstRow)] : nullptr;
  tree.settingScrollBars = false;
}

}  // namespace

bool LinesAtRoot(HWND hwnd) {
  DWORD style = StyleOf(hwnd);
  return (style & TVS_LINESATROOT) && (style & (TVS_HASLINES | TVS_HASBUTTONS));
}

void MarkLayoutDirty(TreeState& tree) {
  tree.layoutDirty = true;
  InvalidateRect(tree.hwnd, nullptr, TRUE);
}

void EnsureLayout(TreeState& tree) {
  if (!tree.layoutDirty) return;
  tree.layoutDirty = false;
  MeasuringDC dc(tree.hwnd, tree.font);
  if (tree.metricsDirty) UpdateMetrics(tree, dc.Get());
  ++tree.rowGeneration;
  tree.rows.clear();
  int widest = 0;
  for (Item* item = tree.firstRoot; item; item = NextVisible(item)) {
    item->row = static_cast<int>(tree.rows.size());
    item->rowGeneration = tree.rowGeneration;
    tree.rows.push_back(item);
    widest = std::max(widest, LabelLeftUnscrolled(tree, *item) + TextWidth(tree, *item, dc.Get()) + 2 * LabelPadding);
  }
  tree.contentWidth = widest;
  // The view stays on its top item; one a collapse hid gives way to the
  // ancestor that now stands for it.
  for (const Item* anchor = tree.topItem; anchor; anchor = anchor->parent) {
    if (int row = tree.RowOf(anchor); row >= 0) {
      tree.firstRow = row;
      break;
    }
  }
  UpdateScrollBars(tree);
}

int VisibleRowCount(const TreeState& tree) {
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  return std::max(0, static_cast<int>(client.bottom) / std::max(1, tree.itemHeight));
}

RowGeometry GeometryOf(TreeState& tree, const Item& item) {
  RowGeometry g;
  int level = Level(tree, item);
  g.top = (tree.RowOf(&item) - tree.firstRow) * tree.itemHeight;
  g.buttonLeft = tree.indent * (level - 1) - tree.scrollX;
  g.iconLeft = tree.indent * level - tree.scrollX;
  g.hasIcon = tree.images != nullptr;
  g.labelLeft = LabelLeftUnscrolled(tree, item) - tree.scrollX;
  int width = item.textWidth;
  if (item.widthGeneration != tree.widthGeneration) {
    MeasuringDC dc(tree.hwnd, tree.font);
    width = TextWidth(tree, const_cast<Item&>(item), dc.Get());
  }
  g.labelRight = g.labelLeft + width + 2 * LabelPadding;
  g.hasButton = level > 0 && (StyleOf(tree.hwnd) & TVS_HASBUTTONS) && item.HasButtonChildren();
  return g;
}

Item* HitTest(TreeState& tree, POINT p, UINT* flags) {
  EnsureLayout(tree);
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  UINT outside = 0;
  if (p.x < 0) outside |= TVHT_TOLEFT;
  if (p.x >= client.right) outside |= TVHT_TORIGHT;
  if (p.y < 0) outside |= TVHT_ABOVE;
  if (p.y >= client.bottom) outside |= TVHT_BELOW;
  UINT found = TVHT_NOWHERE;
  Item* item = nullptr;
  std::size_t row = static_cast<std::size_t>(tree.firstRow + (p.y >= 0 ? p.y / tree.itemHeight : 0));
  if (!outside && row < tree.rows.size()) {
    item = tree.rows[row];
    RowGeometry g = GeometryOf(tree, *item);
    if (p.x < g.buttonLeft)
      found = TVHT_ONITEMINDENT;
    else if (p.x < g.iconLeft)
      found = g.hasButton ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    else if (p.x < g.labelLeft)
      found = TVHT_ONITEMICON;
    else if (p.x < g.labelRight)
      found = TVHT_ONITEMLABEL;
    else
      found = TVHT_ONITEMRIGHT;
  }
  if (flags) *flags = outside ? outside : found;
  return outside ? nullptr : item;
}

void ScrollToRow(TreeState& tree, int row) {
  EnsureLayout(tree);
  int total = static_cast<int>(tree.rows.size());
  row = std::clamp(row, 0, std::max(0, total - VisibleRowCount(tree)));
  if (total == 0 || row == tree.firstRow) return;
  tree.firstRow = row;
  tree.topItem = tree.rows[static_cast<std::size_t>(row)];
  SetScrollPos(tree.hwnd, SB_VERT, row, TRUE);
  InvalidateRect(tree.hwnd, nullptr, TRUE);
}

void ScrollToX(TreeState& tree, int x) {
  EnsureLayout(tree);
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  x = std::clamp(x, 0, std::max(0, tree.contentWidth - static_cast<int>(client.right)));
  if (x == tree.scrollX) return;
  tree.scrollX = x;
  SetScrollPos(tree.hwnd, SB_HORZ, x, TRUE);
  InvalidateRect(tree.hwnd, nullptr, TRUE);
}

void InvalidateItem(TreeState& tree, const Item* item) {
  int row = tree.RowOf(item);
  if (tree.layoutDirty || row < 0) return;
  RECT client{};
  GetClientRect(tree.hwnd, &client);
  RECT line{0, (row - tree.firstRow) * tree.itemHeight, client.right, (row - tree.firstRow + 1) * tree.itemHeight};
  InvalidateRect(tree.hwnd, &line, TRUE);
}

}  // namespace qm::ui::controls::tree
