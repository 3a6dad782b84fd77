// Dialog templates written compactly, and a dialog procedure whose
// behaviour each test supplies, recording the commands it receives.
#pragma once

#include <functional>
#include <optional>

#include "support/UiTest.h"
#include "platform/ui/DialogTemplate.h"

namespace qm::test {

inline DialogItemTemplate Item(const char* className, const char* text, int id, short x, short y, short cx, short cy,
                               DWORD style, int imageId = 0) {
  DialogItemTemplate item;
  item.className = className;
  item.text = text;
  item.id = id;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.style = WS_CHILD | WS_VISIBLE | style;
  item.imageId = imageId;
  return item;
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

// Rounded to nearest, as the dialog unit conversion is defined.
inline int Scaled(int value, int numerator, int denominator) {
  return (2 * value * numerator + denominator) / (2 * denominator);
}

class DialogTest : public UiTest {
 public:
  using Handler = std::function<std::optional<LONG_PTR>(HWND, UINT, WPARAM, LPARAM)>;
  static inline Handler handler;
  static inline std::vector<Notification> commands;
  static inline LPARAM initParam = 0;

  void SetUp() override {
    UiTest::SetUp();
    handler = {};
    commands.clear();
    initParam = 0;
  }
  void TearDown() override {
    handler = {};
    UiTest::TearDown();
  }

  static LONG_PTR Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) initParam = lParam;
    if (message == WM_COMMAND)
      commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    if (handler)
      if (auto result = handler(dialog, message, wParam, lParam)) return *result;
    return message == WM_INITDIALOG ? TRUE : FALSE;
  }

  // The BN_CLICKED commands, leaving out the edits' notifications.
  static std::vector<Notification> Clicks() {
    std::vector<Notification> clicks;
    for (const Notification& n : commands)
      if (n.code == BN_CLICKED) clicks.push_back(n);
    return clicks;
  }

  static std::vector<int> CommandIds() {
    std::vector<int> ids;
    for (const Notification& n : Clicks()) ids.push_back(n.id);
    return ids;
  }

  // A handler that ends a modal dialog with the id of the command.
  static std::optional<LONG_PTR> EndOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return std::nullopt;
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
};

}  // namespace qm::test
