// Dialog templates as data: what a dialog resource holds, in dialog units.
#pragma once

#include <cstddef>
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
  // DS_SETFONT dialogs: the face and size the dialog units are measured in,
  // and (extended templates) its weight, 0 for the normal one, and slant.
  std::string fontFace;
  WORD pointSize = 0;
  WORD fontWeight = 0;
  bool fontItalic = false;
  BYTE fontCharset = 0;
  bool extended = false;  // read from a DLGTEMPLATEEX
  DWORD helpId = 0;
  std::vector<DialogItemTemplate> items;
};

// Reads a dialog resource in its binary form: a DLGTEMPLATE, or the
// extended DLGTEMPLATEEX (dlgVer 1, signature 0xFFFF), each followed by its
// items on 4-byte boundaries. Strings are UTF-16 and become UTF-8; the
// predefined class ordinals (0x0080 button .. 0x0085 combo box) become
// their class names; an item title given as an ordinal is the resource id
// of its picture. False, with `out` untouched, for data that ends early or
// does not hold a template; a menu or a window class of the dialog's own is
// not supported and refused too.
bool ParseDialogResource(const void* data, std::size_t size, DialogTemplate& out);
