// Dialog templates as data: what a dialog resource holds, in dialog units.
#pragma once

#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"

struct DialogItemTemplate {
  std::string className;  // "BUTTON", "STATIC", "EDIT", "COMBOBOX", "msctls_progress32", ...
  std::string text;
  int id = -1;            // IDC_STATIC (-1) for controls without an id
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0;        // as written in the resource, WS_CHILD | WS_VISIBLE included where set
  DWORD exStyle = 0;
  // For SS_ICON and SS_BITMAP statics: the icon or bitmap resource shown.
  int imageId = 0;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  // DS_SETFONT dialogs: the face and size the dialog units are measured in.
  std::string fontFace;
  WORD pointSize = 0;
  std::vector<DialogItemTemplate> items;
};
