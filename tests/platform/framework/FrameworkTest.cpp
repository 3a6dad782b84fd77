#include "FrameworkTest.h"

#include <vector>

#include "platform/ui/DisplayBackend.h"

namespace qm::test {

void FrameworkTest::TearDown() {
  // What the test left queued is handled, as the program's loop would,
  // before the windows are checked.
  Pump();
  ScreenTest::TearDown();
}

void FrameworkTest::Key(UINT virtualKey, bool shift, bool alt) {
  qm::ui::InputEvent event;
  event.virtualKey = virtualKey;
  event.shift = shift;
  event.alt = alt;
  event.kind = qm::ui::InputKind::KeyDown;
  qm::ui::InjectInput(event);
  event.kind = qm::ui::InputKind::KeyUp;
  qm::ui::InjectInput(event);
}

DialogItemTemplate Control(const char* className, const char* text, int id, short x, short y, short cx, short cy,
                           DWORD style) {
  DialogItemTemplate item;
  item.className = className;
  item.text = text;
  item.id = id;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.style = WS_CHILD | WS_VISIBLE | style;
  return item;
}

DialogTemplate PageTemplate(const char* caption, std::initializer_list<DialogItemTemplate> items) {
  DialogTemplate page;
  page.style = DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
  page.cx = 294;
  page.cy = 159;
  page.caption = caption;
  page.fontFace = "MS Sans Serif";
  page.pointSize = 8;
  page.items = items;
  return page;
}

DialogTemplate DialogBoxTemplate(const char* caption, short cx, short cy,
                                 std::initializer_list<DialogItemTemplate> items) {
  DialogTemplate dialog;
  dialog.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  dialog.cx = cx;
  dialog.cy = cy;
  dialog.caption = caption;
  dialog.fontFace = "MS Sans Serif";
  dialog.pointSize = 8;
  dialog.items = items;
  return dialog;
}

}  // namespace qm::test
