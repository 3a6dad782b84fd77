#include "platform/framework/TreeCtrl.h"

#include <vector>

namespace qm::fw {

namespace {

LPARAM ItemParam(HTREEITEM item) { return reinterpret_cast<LPARAM>(item); }

}  // namespace

bool TreeCtrl::Create(DWORD style, const RECT& rect, Window* parent, UINT id) {
  return Window::Create(WC_TREEVIEWA, nullptr, style, rect, parent, id);
}

HTREEITEM TreeCtrl::InsertItem(const TVINSERTSTRUCTA* insert) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM TreeCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                               LPARAM param, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = mask;
  insert.item.pszText = const_cast<LPSTR>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.state = state;
  insert.item.stateMask = stateMask;
  insert.item.lParam = param;
  return InsertItem(&insert);
}

HTREEITEM TreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM TreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

bool TreeCtrl::DeleteItem(HTREEITEM item) {
  return ::SendMessageA(Handle(), TVM_DELETEITEM, 0, ItemParam(item)) != 0;
}

bool TreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

bool TreeCtrl::Expand(HTREEITEM item, UINT code) {
  return ::SendMessageA(Handle(), TVM_EXPAND, code, ItemParam(item)) != 0;
}

bool TreeCtrl::GetItem(TVITEMA* item) const {
  return ::SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

bool TreeCtrl::SetItem(TVITEMA* item) {
  return ::SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

std::string TreeCtrl::GetItemText(HTREEITEM item) const {
  std::vector<char> buffer(MAX_PATH + 1, '\0');
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_HANDLE;
  query.hItem = item;
  query.pszText = buffer.data();
  query.cchTextMax = static_cast<int>(buffer.size());
  if (!GetItem(&query)) return {};
  return buffer.data();
}

DWORD_PTR TreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEMA query{};
  query.mask = TVIF_PARAM | TVIF_HANDLE;
  query.hItem = item;
  return GetItem(&query) ? static_cast<DWORD_PTR>(query.lParam) : 0;
}

bool TreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEMA change{};
  change.mask = TVIF_PARAM | TVIF_HANDLE;
  change.hItem = item;
  change.lParam = static_cast<LPARAM>(data);
  return SetItem(&change);
}

UINT TreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
  TVITEMA query{};
  query.mask = TVIF_STATE | TVIF_HANDLE;
  query.hItem = item;
  query.stateMask = stateMask;
  return GetItem(&query) ? (query.state & stateMask) : 0;
}

bool TreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
  TVITEMA change{};
  change.mask = TVIF_STATE | TVIF_HANDLE;
  change.hItem = item;
  change.state = state;
  change.stateMask = stateMask;
  return SetItem(&change);
}

bool TreeCtrl::GetItemRect(HTREEITEM item, RECT* rect, bool labelOnly) const {
  return rect && TreeView_GetItemRect(Handle(), item, rect, labelOnly ? TRUE : FALSE) != FALSE;
}

HTREEITEM TreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  return reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_GETNEXTITEM, code, ItemParam(item)));
}

HTREEITEM TreeCtrl::GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
HTREEITEM TreeCtrl::GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
HTREEITEM TreeCtrl::GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
HTREEITEM TreeCtrl::GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
HTREEITEM TreeCtrl::GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }

bool TreeCtrl::SelectItem(HTREEITEM item) {
  return ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, ItemParam(item)) != 0;
}

bool TreeCtrl::SortChildrenCB(const TVSORTCB* sort) {
  return ::SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(sort)) != 0;
}

HTREEITEM TreeCtrl::HitTest(POINT point, UINT* flags) const {
  TVHITTESTINFO info{point, 0, nullptr};
  HTREEITEM item = HitTest(&info);
  if (flags) *flags = info.flags;
  return item;
}

HTREEITEM TreeCtrl::HitTest(TVHITTESTINFO* info) const {
  return reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

bool TreeCtrl::EnsureVisible(HTREEITEM item) {
  return ::SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, ItemParam(item)) != 0;
}

HIMAGELIST TreeCtrl::SetImageList(HIMAGELIST images, int kind) {
  return reinterpret_cast<HIMAGELIST>(
      ::SendMessageA(Handle(), TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(images)));
}

HIMAGELIST TreeCtrl::GetImageList(int kind) const {
  return reinterpret_cast<HIMAGELIST>(::SendMessageA(Handle(), TVM_GETIMAGELIST, static_cast<WPARAM>(kind), 0));
}

UINT TreeCtrl::GetCount() const { return static_cast<UINT>(::SendMessageA(Handle(), TVM_GETCOUNT, 0, 0)); }

}  // namespace qm::fw
