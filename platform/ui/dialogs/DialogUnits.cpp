// Dialog units: a quarter of the dialog font's average character width
// horizontally, an eighth of its height vertically.
#include "platform/ui/dialogs/DialogState.h"

namespace qm::ui::dialogs {

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  long long product = static_cast<long long>(a) * b;
  long long half = (c > 0 ? c : -c) / 2;
  bool negative = (product < 0) != (c < 0);
  long long magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

SIZE FrameSize(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  LONG side = origin.x - outer.left;
  return SIZE{2 * side, (origin.y - outer.top) + side};
}

BaseUnits MeasureBaseUnits(HFONT font) {
  // The average width comes from the whole alphabet, not tmAveCharWidth,
  // which fonts report inconsistently.
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  // Measuring takes a font, not the screen: a memory DC spares the
  // desktop a surface of the screen's size that nothing would show.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, kAlphabet, 52, &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  BaseUnits units{static_cast<int>((size.cx + 26) / 52), static_cast<int>(metrics.tmHeight)};
  if (units.x <= 0) units.x = 6;
  if (units.y <= 0) units.y = 13;
  return units;
}

}  // namespace qm::ui::dialogs

using namespace qm::ui::dialogs;

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = StateOf(dialog);
  if (!state || !rect) return FALSE;
  rect->left = MulDivRounded(rect->left, state->units.x, 4);
  rect->right = MulDivRounded(rect->right, state->units.x, 4);
  rect->top = MulDivRounded(rect->top, state->units.y, 8);
  rect->bottom = MulDivRounded(rect->bottom, state->units.y, 8);
  return TRUE;
}

LONG GetDialogBaseUnits() {
  static const BaseUnits units = MeasureBaseUnits(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  return static_cast<LONG>(MAKELONG(static_cast<WORD>(units.x), static_cast<WORD>(units.y)));
}
