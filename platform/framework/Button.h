// Button: push buttons, check boxes and radio buttons.
#pragma once

#include "platform/framework/Window.h"

namespace qm::fw {

class Button : public Window {
 public:
  bool Create(LPCSTR text, DWORD style, const RECT& rect, Window* parent, UINT id);
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void Click();
};

}  // namespace qm::fw
