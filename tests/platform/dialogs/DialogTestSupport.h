// Dialog templates written compactly, and a dialog procedure whose
// behaviour each test supplies, recording the commands it receives.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/DialogTemplates.h"
#include "support/UiTest.h"

namespace qm::test {

// Rounded to nearest, as the dialog unit conversion is defined.
inline int Scaled(int value, int numerator, int denominator) {
  return (2 * value * numerator + denominator) / (2 * denominator);
}

// What `text` measures in the dialogs' font ("MS Sans Serif" 8), and the
// font's metrics.
inline SIZE DialogFontExtent(const std::string& text, TEXTMETRICA* metrics = nullptr) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  if (metrics) GetTextMetricsA(dc, metrics);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return size;
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
    for (HWND dialog : dialogs)
      if (IsWindow(dialog)) DestroyWindow(dialog);
    UiTest::TearDown();
  }

  // A modeless dialog on Proc, destroyed at the test's end.
  HWND Create(const DialogTemplate& dialogTemplate, HWND owner = nullptr, LPARAM param = 0) {
    dialogs.push_back(CreateDialogIndirectParamA(nullptr, &dialogTemplate, owner, Proc, param));
    return dialogs.back();
  }
  // The same, shown, with what showing it brings handled.
  HWND Open(const DialogTemplate& dialogTemplate, HWND owner = nullptr) {
    HWND dialog = Create(dialogTemplate, owner);
    ShowWindow(dialog, SW_SHOW);
    Pump(dialog);
    return dialog;
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

 private:
  std::vector<HWND> dialogs;
};

}  // namespace qm::test
