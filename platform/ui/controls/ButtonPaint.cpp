// The classic look of push buttons, check boxes, radio buttons and group
// boxes.
#include <algorithm>
#include <initializer_list>

#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/ControlSupport.h"

namespace qm::ui::controls {

namespace {

constexpr int kCheckSize = 13;
constexpr int kRadioSize = 12;
constexpr int kLabelGap = 4;

// The check mark, 7 by 7, drawn 3 pixels in from the box's corner.
constexpr const char* kCheckMark[7] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

// The radio button's round frame: shadow (S) and highlight (H) outside,
// dark shadow (D) and light (L) inside, window colour (W) within.
constexpr const char* kRadioFrame[kRadioSize] = {
    "....SSSS....", "..SSDDDDSS..", ".SDDWWWWDDH.", ".SDWWWWWWLH.", "SDWWWWWWWWLH", "SDWWWWWWWWLH",
    "SDWWWWWWWWLH", "SDWWWWWWWWLH", ".SDWWWWWWLH.", ".HLLWWWWLLH.", "..HHLLLLHH..", "....HHHH....",
};

constexpr const char* kRadioDot[4] = {".##.", "####", "####", ".##."};

std::string Label(HWND hwnd) { return WindowText(hwnd); }

void DrawImage(HDC dc, HGDIOBJ image, DWORD style, const RECT& area) {
  if (style & BS_ICON) {
    int size = GetSystemMetrics(SM_CXICON);
    int x = area.left + (area.right - area.left - size) / 2;
    int y = area.top + (area.bottom - area.top - size) / 2;
    DrawIconEx(dc, x, y, static_cast<HICON>(static_cast<void*>(image)), size, size, 0, nullptr, DI_NORMAL);
    return;
  }
  BITMAP info{};
  if (!GetObjectA(image, sizeof info, &info)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, image);
  int x = area.left + (area.right - area.left - info.bmWidth) / 2;
  int y = area.top + (area.bottom - area.top - info.bmHeight) / 2;
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void PaintPushButton(HWND hwnd, HDC dc, const ButtonState& state, DWORD style) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  ControlColors(hwnd, dc, WM_CTLCOLORBTN);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  FillSysColor(dc, rect, COLOR_BTNFACE);
  bool isDefault = ButtonType(style) == BS_DEFPUSHBUTTON;
  if (isDefault || state.pushed) {
    Frame3d(dc, rect, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW);
    rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  }
  if (state.pushed) {
    Frame3d(dc, rect, COLOR_3DSHADOW, COLOR_3DSHADOW);
    rect = RECT{rect.left + 2, rect.top + 2, rect.right, rect.bottom};
  } else {
    RaisedEdge(dc, rect);
  }
  bool enabled = IsWindowEnabled(hwnd);
  if ((style & (BS_ICON | BS_BITMAP)) && state.image) {
    DrawImage(dc, state.image, style, rect);
  } else {
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (style & BS_MULTILINE) format = DT_CENTER | DT_WORDBREAK;
    DrawLabel(dc, Label(hwnd), rect, format, enabled);
  }
  if (state.focused) {
    RECT client{};
    GetClientRect(hwnd, &client);
    int inset = 4;
    RECT focus{client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
    if (focus.right > focus.left && focus.bottom > focus.top) DrawFocusRect(dc, &focus);
  }
}

struct Ink {
  char key;
  int sysColor;
};

void PaintGlyph(HDC dc, int left, int top, const char* const* rows, int count, std::initializer_list<Ink> inks) {
  for (int y = 0; y < count; ++y) {
    for (int x = 0; rows[y][x]; ++x) {
      for (const Ink& ink : inks) {
        if (ink.key != rows[y][x]) continue;
        FillSysColor(dc, RECT{left + x, top + y, left + x + 1, top + y + 1}, ink.sysColor);
        break;
      }
    }
  }
}

void PaintCheckBox(HDC dc, int left, int top, const ButtonState& state, bool enabled) {
  RECT box{left, top, left + kCheckSize, top + kCheckSize};
  SunkenEdge(dc, box);
  bool indeterminate = state.check == BST_INDETERMINATE;
  FillSysColor(dc, box, (state.pushed || !enabled || indeterminate) ? COLOR_BTNFACE : COLOR_WINDOW);
  if (state.check == BST_UNCHECKED) return;
  int markColor = (!enabled || indeterminate) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT;
  PaintGlyph(dc, left + 3, top + 3, kCheckMark, 7, {{'#', markColor}});
}

void PaintRadio(HDC dc, int left, int top, const ButtonState& state, bool enabled) {
  int inside = (state.pushed || !enabled) ? COLOR_BTNFACE : COLOR_WINDOW;
  PaintGlyph(dc, left, top, kRadioFrame, kRadioSize,
             {{'S', COLOR_3DSHADOW}, {'H', COLOR_3DHILIGHT}, {'D', COLOR_3DDKSHADOW}, {'L', COLOR_3DLIGHT},
              {'W', inside}});
  if (state.check != BST_CHECKED) return;
  PaintGlyph(dc, left + 4, top + 4, kRadioDot, 4, {{'#', enabled ? COLOR_WINDOWTEXT : COLOR_3DSHADOW}});
}

void PaintCheckOrRadio(HWND hwnd, HDC dc, const ButtonState& state, DWORD style) {
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH brush = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, brush);
  DWORD type = ButtonType(style);
  bool radio = IsRadioType(type);
  int size = radio ? kRadioSize : kCheckSize;
  bool textLeft = (style & BS_LEFTTEXT) != 0;
  int boxLeft = textLeft ? client.right - size : 0;
  int boxTop = (client.bottom - size) / 2;
  bool enabled = IsWindowEnabled(hwnd);
  if (radio)
    PaintRadio(dc, boxLeft, boxTop, state, enabled);
  else
    PaintCheckBox(dc, boxLeft, boxTop, state, enabled);

  std::string text = Label(hwnd);
  RECT textArea = textLeft ? RECT{0, 0, client.right - size - kLabelGap, client.bottom}
                           : RECT{size + kLabelGap, 0, client.right, client.bottom};
  UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  RECT measured = textArea;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  int textHeight = measured.bottom - measured.top;
  RECT textRect{textArea.left, (client.bottom - textHeight) / 2, std::min(measured.right, textArea.right),
                (client.bottom - textHeight) / 2 + textHeight};
  DrawLabel(dc, text, textRect, format, enabled);
  if (state.focused && !text.empty()) {
    RECT focus{textRect.left - 1, std::max(0, static_cast<int>(textRect.top) - 1),
               std::min(client.right, textRect.right + 1), std::min(client.bottom, textRect.bottom + 1)};
    DrawFocusRect(dc, &focus);
  }
}

void PaintGroupBox(HWND hwnd, HDC dc) {
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH brush = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  int frameTop = metrics.tmHeight / 2;
  Frame3d(dc, RECT{client.left + 1, frameTop + 1, client.right, client.bottom}, COLOR_3DHILIGHT, COLOR_3DHILIGHT);
  Frame3d(dc, RECT{client.left, frameTop, client.right - 1, client.bottom - 1}, COLOR_3DSHADOW, COLOR_3DSHADOW);
  std::string text = Label(hwnd);
  if (text.empty()) return;
  RECT measured{0, 0, client.right, client.bottom};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
  int textLeft = 8;
  RECT background{textLeft - 2, 0, std::min(client.right - 2, textLeft + measured.right + 2), metrics.tmHeight};
  FillRect(dc, &background, brush);
  RECT textRect{textLeft, 0, background.right, metrics.tmHeight};
  DrawLabel(dc, text, textRect, DT_SINGLELINE | DT_LEFT, IsWindowEnabled(hwnd));
}

}  // namespace

void PaintButton(HWND hwnd, HDC dc, const ButtonState& state) {
  DWORD style = StyleOf(hwnd);
  DWORD type = ButtonType(style);
  if (type == BS_GROUPBOX)
    PaintGroupBox(hwnd, dc);
  else if (IsPushType(type))
    PaintPushButton(hwnd, dc, state, style);
  else
    PaintCheckOrRadio(hwnd, dc, state, style);
}

}  // namespace qm::ui::controls
