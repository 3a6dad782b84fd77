// ComboBox: the combo box control (CBS_DROPDOWN: an edit field and a list
// that drops below it). Its notifications reach the parent as WM_COMMAND
// with the CBN_ codes (platform/ui/Controls.h tells their order).
#pragma once

#include <string>

#include "platform/framework/Window.h"

namespace qm::fw {

class ComboBox : public Window {
 public:
  bool Create(DWORD style, const RECT& rect, Window* parent, UINT id);
  // Each answers the item's index, or CB_ERR.
  int AddString(const std::string& text);
  int InsertString(int index, const std::string& text);
  int DeleteString(int index);  // the items left
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);  // the edit field shows the item; no notification
  // The item's text; false for an index that does not exist.
  bool GetLBText(int index, std::string& text) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, const std::string& prefix) const;
  int FindStringExact(int startAfter, const std::string& text) const;
  int SelectString(int startAfter, const std::string& prefix);
  LRESULT GetItemData(int index) const;
  int SetItemData(int index, LPARAM data);
  void ShowDropDown(bool show = true);
  bool GetDroppedState() const;
  // The edit field's selection: LOWORD start, HIWORD end.
  DWORD GetEditSel() const;
  bool SetEditSel(int start, int end);
  bool LimitText(int maxChars);
};

}  // namespace qm::fw
