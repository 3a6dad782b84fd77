// Dialog templates written in code, as a resource compiler would lay them
// out: items visible children of the dialog, the dialog in "MS Sans Serif" 8.
// Header-only.
#pragma once

#include <utility>
#include <vector>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

inline DialogItemTemplate Item(const char* className, const char* text, int id, short x, short y, short cx, short cy,
                               DWORD style, int imageId = 0) {
  return DialogItemTemplate{className, text, id, x, y, cx, cy, WS_CHILD | WS_VISIBLE | style, 0, imageId};
}

inline DialogTemplate Dialog(DWORD style, short cx, short cy, const char* caption,
                             std::vector<DialogItemTemplate> items) {
  DialogTemplate dialog;
  dialog.style = style | DS_SETFONT;
  dialog.cx = cx;
  dialog.cy = cy;
  dialog.caption = caption;
  dialog.fontFace = "MS Sans Serif";
  dialog.pointSize = 8;
  dialog.items = std::move(items);
  return dialog;
}

}  // namespace qm::test
