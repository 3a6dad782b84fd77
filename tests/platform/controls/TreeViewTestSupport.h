// A tree view in a parent window that records every notification the tree
// sends (and may answer them as a test says), with helpers to fill the tree
// and to find its items' places on the screen.
#pragma once

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "support/UiTest.h"
#include "platform/ui/Resources.h"

namespace qm::test {

struct TreeNote {
  UINT code = 0;
  UINT action = 0;
  HTREEITEM oldItem = nullptr;
  HTREEITEM newItem = nullptr;
  UINT newState = 0;
  LPARAM oldParam = 0;
};

class TreeTest : public UiTest {
 public:
  static inline std::vector<TreeNote> notes;
  static inline int contextMenus = 0;
  // Sees each notification after it is recorded; a value is the answer.
  static inline std::function<std::optional<LRESULT>(const NMHDR&)> answer;

  static constexpr DWORD kClassicStyle =
      TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | WS_TABSTOP;
  static constexpr int kTreeId = 1049;

  void SetUp() override {
    UiTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(RegisterParentClass("QmTreeParent", ParentProc));
    notes.clear();
    contextMenus = 0;
    answer = {};
  }

  void TearDown() override {
    answer = {};
    if (IsWindow(frame)) DestroyWindow(frame);
    UiTest::TearDown();
  }

  // A tree of the given client size in a frame of its own.
  HWND MakeTree(DWORD style = kClassicStyle, SIZE size = {200, 200}) {
    frame = CreateWindowExA(0, "QmTreeParent", "Trees", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 420, nullptr,
                            nullptr, nullptr, nullptr);
    HWND tree = CreateControl(frame, WC_TREEVIEWA, "Tree1", style, RECT{10, 10, 14 + size.cx, 14 + size.cy}, kTreeId,
                              WS_EX_CLIENTEDGE);
    Pump();
    return tree;
  }

  static HTREEITEM Insert(HWND tree, const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST,
                          LPARAM param = 0, std::optional<int> children = std::nullopt) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | (children ? TVIF_CHILDREN : 0);
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = param;
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 1;
    insert.item.cChildren = children.value_or(0);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  static std::string ItemText(HWND tree, HTREEITEM item) {
    char buffer[260] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return "(no item)";
    return buffer;
  }

  static HTREEITEM Next(HWND tree, UINT code, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }

  // The texts of the item's children in order; null: the top level.
  static std::vector<std::string> Children(HWND tree, HTREEITEM parent = nullptr) {
    std::vector<std::string> texts;
    for (HTREEITEM child = parent ? Next(tree, TVGN_CHILD, parent) : Next(tree, TVGN_ROOT); child;
         child = Next(tree, TVGN_NEXT, child))
      texts.push_back(ItemText(tree, child));
    return texts;
  }

  // The items shown in order, as TVGN_NEXTVISIBLE walks them.
  static std::vector<std::string> Shown(HWND tree) {
    std::vector<std::string> texts;
    for (HTREEITEM item = Next(tree, TVGN_ROOT); item; item = Next(tree, TVGN_NEXTVISIBLE, item))
      texts.push_back(ItemText(tree, item));
    return texts;
  }

  static UINT State(HWND tree, HTREEITEM item, UINT mask = 0xFFFF) {
    TVITEMA query{};
    query.mask = TVIF_STATE;
    query.hItem = item;
    query.stateMask = mask;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query.state;
  }

  static bool Expand(HWND tree, HTREEITEM item, UINT code = TVE_EXPAND) {
    return SendMessageA(tree, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
  }

  static bool SelectItem(HWND tree, HTREEITEM item) {
    return SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
  }

  // The codes recorded, in order; of those in `wanted` only, when given.
  static std::vector<UINT> CodesOf(std::initializer_list<UINT> wanted = {}) {
    std::vector<UINT> codes;
    for (const TreeNote& n : notes)
      if (!wanted.size() || std::find(wanted.begin(), wanted.end(), n.code) != wanted.end()) codes.push_back(n.code);
    return codes;
  }

  // From now on the notifications of `codes` are answered 1: refused.
  static void Refuse(std::initializer_list<UINT> codes) {
    answer = [refused = std::vector<UINT>(codes)](const NMHDR& header) -> std::optional<LRESULT> {
      if (std::find(refused.begin(), refused.end(), header.code) == refused.end()) return std::nullopt;
      return 1;
    };
  }

  // The item's cChildren as TVM_GETITEM answers it.
  static int ChildrenFlag(HWND tree, HTREEITEM item) {
    TVITEMA query{};
    query.mask = TVIF_CHILDREN;
    query.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query.cChildren;
  }

  static std::vector<TreeNote> NotesOf(UINT code) {
    std::vector<TreeNote> found;
    for (const TreeNote& n : notes)
      if (n.code == code) found.push_back(n);
    return found;
  }

  // The item's label rectangle in client coordinates (empty when not shown).
  static RECT Label(HWND tree, HTREEITEM item) {
    RECT rect{};
    if (!TreeView_GetItemRect(tree, item, &rect, TRUE)) return RECT{};
    return rect;
  }

  static POINT OnScreen(HWND tree, POINT client) {
    ClientToScreen(tree, &client);
    return client;
  }

  static POINT LabelPoint(HWND tree, HTREEITEM item) {
    RECT r = Label(tree, item);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // The centre of the item's button: half an indent left of its icon column.
  static POINT ButtonPoint(HWND tree, HTREEITEM item, int imageWidth = 0) {
    RECT r = Label(tree, item);
    int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
    int iconLeft = r.left - (imageWidth ? imageWidth + 1 : 0);
    return POINT{iconLeft - indent + indent / 2, (r.top + r.bottom) / 2};
  }

  void ClickItem(HWND tree, HTREEITEM item) {
    InjectClickAt(OnScreen(tree, LabelPoint(tree, item)));
    Pump();
  }

  void ClickButton(HWND tree, HTREEITEM item, int imageWidth = 0) {
    InjectClickAt(OnScreen(tree, ButtonPoint(tree, item, imageWidth)));
    Pump();
  }

  HWND frame = nullptr;

 private:
  static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) {
      ++contextMenus;
      return 0;
    }
    if (message != WM_NOTIFY) return DefWindowProcA(hwnd, message, wParam, lParam);
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    TreeNote note{header.code};
    if (header.code <= TVN_FIRST && header.code > TVN_FIRST - 20 && header.code != TVN_KEYDOWN) {
      const auto& nm = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
      note = TreeNote{header.code, nm.action, nm.itemOld.hItem, nm.itemNew.hItem, nm.itemNew.state, nm.itemOld.lParam};
    }
    notes.push_back(note);
    if (answer)
      if (auto result = answer(header)) return *result;
    return 0;
  }
};

}  // namespace qm::test
