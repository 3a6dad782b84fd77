// The tree view in the classic look: a white field, dotted grey lines
// joining each item to its parent and siblings, boxed plus and minus
// buttons, the item's icon, and its label: navy with white text while the
// tree has the focus, grey with TVS_SHOWSELALWAYS when it has not, with the
// focus rectangle around the selected label. Only the rows inside the area
// to paint are drawn.
#include <algorithm>

#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/TreeView.h"

namespace qm::ui::controls::tree {

namespace {

constexpr int ButtonHalf = 4;  // the button is a 9 by 9 box

class RowPainter {
 public:
  RowPainter(TreeState& tree, HDC dc) : tree_(tree), dc_(dc), style_(StyleOf(tree.hwnd)) {
    linesAtRoot_ = LinesAtRoot(tree.hwnd);
    lineColour_ = GetSysColor(COLOR_GRAYTEXT);
  }

  void Paint(Item& item) {
    RowGeometry g = GeometryOf(tree_, item);
    int middle = g.top + tree_.itemHeight / 2;
    int column = g.buttonLeft + tree_.indent / 2;
    bool hasColumn = item.depth > 0 || linesAtRoot_;
    if ((style_ & TVS_HASLINES) && hasColumn) Lines(item, g, column, middle);
    if (g.hasButton) Button(column, middle, item.IsExpanded());
    if (g.hasIcon) Icon(item, g);
    Label(item, g);
  }

 private:
  // Dots on every other pixel of a checkerboard fixed to the content, so
  // lines meet and do not crawl when the view scrolls sideways.
  bool OnDot(int x, int y) const { return ((x + tree_.scrollX + y) & 1) == 0; }

  void VerticalDots(int x, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
      if (OnDot(x, y)) SetPixel(dc_, x, y, lineColour_);
  }

  void HorizontalDots(int left, int right, int y) {
    for (int x = left; x < right; ++x)
      if (OnDot(x, y)) SetPixel(dc_, x, y, lineColour_);
  }

  void Lines(const Item& item, const RowGeometry& g, int column, int middle) {
    int bottom = g.top + tree_.itemHeight;
    HorizontalDots(column, g.iconLeft - 1, middle);
    bool firstOfAll = !item.parent && !item.prev;
    VerticalDots(column, firstOfAll ? middle : g.top, item.next ? bottom : middle + 1);
    // The lines of ancestors that have more siblings below pass through this row.
    for (const Item* a = item.parent; a; a = a->parent) {
      if (!a->next || (a->depth == 0 && !linesAtRoot_)) continue;
      int level = a->depth + (linesAtRoot_ ? 1 : 0);
      VerticalDots(tree_.indent * (level - 1) - tree_.scrollX + tree_.indent / 2, g.top, bottom);
    }
  }

  void Button(int x, int y, bool expanded) {
    RECT box{x - ButtonHalf, y - ButtonHalf, x + ButtonHalf + 1, y + ButtonHalf + 1};
    FillSysColor(dc_, box, COLOR_WINDOW);
    Frame3d(dc_, box, COLOR_GRAYTEXT, COLOR_GRAYTEXT);
    FillSysColor(dc_, RECT{x - 2, y, x + 3, y + 1}, COLOR_WINDOWTEXT);
    if (!expanded) FillSysColor(dc_, RECT{x, y - 2, x + 1, y + 3}, COLOR_WINDOWTEXT);
  }

  void Icon(const Item& item, const RowGeometry& g) {
    int index = (item.state & TVIS_SELECTED) ? item.selectedImage : item.image;
    if (index < 0) return;
    ImageList_Draw(tree_.images, index, dc_, g.iconLeft, g.top + (tree_.itemHeight - tree_.imageHeight) / 2,
                   ILD_TRANSPARENT);
  }

  void Label(const Item& item, const RowGeometry& g) {
    RECT label{g.labelLeft, g.top, g.labelRight, g.top + tree_.itemHeight};
    bool selected = (item.state & TVIS_SELECTED) && (tree_.focused || (style_ & TVS_SHOWSELALWAYS));
    int textColour = COLOR_WINDOWTEXT;
    if (selected) {
      FillSysColor(dc_, label, tree_.focused ? COLOR_HIGHLIGHT : COLOR_3DFACE);
      if (tree_.focused) textColour = COLOR_HIGHLIGHTTEXT;
    }
    SetTextColor(dc_, GetSysColor(textColour));
    RECT text{label.left + 2, label.top, label.right - 2, label.bottom};
    DrawTextA(dc_, item.text.c_str(), static_cast<int>(item.text.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (tree_.focused && &item == tree_.caret) DrawFocusRect(dc_, &label);
  }

  TreeState& tree_;
  HDC dc_;
  DWORD style_;
  bool linesAtRoot_ = false;
  COLORREF lineColour_ = 0;
};

}  // namespace

void Paint(TreeState& tree, HDC dc, const RECT& area) {
  EnsureLayout(tree);
  FillSysColor(dc, area, COLOR_WINDOW);
  if (tree.rows.empty()) return;
  int height = std::max(1, tree.itemHeight);
  int first = tree.firstRow + std::max<int>(0, area.top) / height;
  int last = std::min<int>(static_cast<int>(tree.rows.size()) - 1, tree.firstRow + (area.bottom - 1) / height);
  SetBkMode(dc, TRANSPARENT);
  RowPainter painter(tree, dc);
  for (int row = first; row <= last; ++row) painter.Paint(*tree.rows[static_cast<std::size_t>(row)]);
}

}  // namespace qm::ui::controls::tree
