// TreeCtrl: the tree view control. Items are HTREEITEM handles; TVI_ROOT
// stands for the top level.
#pragma once

#include <string>

#include "platform/framework/Window.h"
#include "platform/ui/CommCtrl.h"

namespace qm::fw {

class TreeCtrl : public Window {
 public:
  bool Create(DWORD style, const RECT& rect, Window* parent, UINT id);

  HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert);
  HTREEITEM InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                       LPARAM param, HTREEITEM parent, HTREEITEM after);
  HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  // Each deleted item reaches the parent as TVN_DELETEITEMA, children first.
  bool DeleteItem(HTREEITEM item);
  bool DeleteAllItems();
  // TVE_EXPAND, TVE_COLLAPSE or TVE_TOGGLE.
  bool Expand(HTREEITEM item, UINT code);

  bool GetItem(TVITEMA* item) const;
  bool SetItem(TVITEMA* item);
  std::string GetItemText(HTREEITEM item) const;
  DWORD_PTR GetItemData(HTREEITEM item) const;
  bool SetItemData(HTREEITEM item, DWORD_PTR data);
  UINT GetItemState(HTREEITEM item, UINT stateMask) const;
  bool SetItemState(HTREEITEM item, UINT state, UINT stateMask);
  bool GetItemRect(HTREEITEM item, RECT* rect, bool labelOnly) const;

  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;  // TVGN_ codes
  HTREEITEM GetChildItem(HTREEITEM item) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  HTREEITEM GetRootItem() const;
  HTREEITEM GetSelectedItem() const;
  // Null clears the selection.
  bool SelectItem(HTREEITEM item);
  bool SortChildrenCB(const TVSORTCB* sort);
  // point in client coordinates; flags: TVHT_ codes.
  HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* info) const;
  bool EnsureVisible(HTREEITEM item);
  // kind TVSIL_NORMAL; the previous list.
  HIMAGELIST SetImageList(HIMAGELIST images, int kind);
  HIMAGELIST GetImageList(int kind) const;
  UINT GetCount() const;
};

}  // namespace qm::fw
