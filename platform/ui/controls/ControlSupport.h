// What the control window procedures share: their state object in the extra
// window bytes, notifications to the parent, colours asked of the parent,
// and the classic 3-D drawing primitives.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace qm::ui::controls {

// Every control class reserves one pointer of extra bytes for its state.
constexpr int kStateBytes = sizeof(void*);

template <class T>
T* StateOf(HWND hwnd) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
}

template <class T>
T* AttachState(HWND hwnd) {
  auto* state = new T();
  SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
  return state;
}

template <class T>
void DestroyState(HWND hwnd) {
  delete StateOf<T>(hwnd);
  SetWindowLongPtrA(hwnd, 0, 0);
}

DWORD StyleOf(HWND hwnd);
void SetStyleBits(HWND hwnd, DWORD bits, bool on);
std::string WindowText(HWND hwnd);

// WM_COMMAND with the control's id and the code, to the parent.
void NotifyParent(HWND control, WORD code);

// The brush to fill the control with: the parent's answer to the
// WM_CTLCOLOR* message when it gives one, else the system's default (window
// colours for editable edits and list boxes, the 3-D face otherwise). The DC's text and
// background colours are set either way.
HBRUSH ControlColors(HWND control, HDC dc, UINT message);

// The font given by WM_SETFONT, or the GUI default while there is none.
HFONT EffectiveFont(HFONT font);

// A DC of the control's own with the control's font (as EffectiveFont
// takes it) selected, for measuring text; both are given back when it goes.
class MeasuringDC {
 public:
  MeasuringDC(HWND hwnd, HFONT font);
  ~MeasuringDC();
  MeasuringDC(const MeasuringDC&) = delete;
  MeasuringDC& operator=(const MeasuringDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ oldFont_;
};

// The height of the font's character cells (tmHeight) in the control.
int FontHeight(HWND hwnd, HFONT font);

// The messages every text-drawing control answers alike: its font
// (WM_SETFONT, WM_GETFONT) and no separate background erase, since each
// paints its whole area. Nothing when the message is not one of them.
std::optional<LRESULT> FontAndEraseMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HFONT& font);

// A control that follows the mouse while the left button is held on it: the
// press takes the mouse (BeginMouseHold); the release (WM_LBUTTONUP) gives it
// back, and a capture taken away (WM_CAPTURECHANGED) ends the hold as well
// (EndMouseHold, which answers the message).
void BeginMouseHold(HWND hwnd, bool& held);
LRESULT EndMouseHold(UINT message, bool& held);

// Where a scroll bar's code (the low word of WM_VSCROLL or WM_HSCROLL's
// wParam) moves the control's position on the bar from `position`: a line
// or a page either way, to 0 or to `end`, or to where the bar's thumb is
// dragged. Nothing for a code that moves nothing.
std::optional<int> ScrolledPosition(HWND hwnd, int bar, WORD code, int position, int line, int page, int end);

// A control's WM_PAINT: paint(dc) runs between BeginPaint and EndPaint with
// the control's font selected.
template <class Painter>
LRESULT PaintWithFont(HWND hwnd, HFONT font, Painter&& paint) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) {
    HGDIOBJ oldFont = SelectObject(dc, EffectiveFont(font));
    paint(dc);
    SelectObject(dc, oldFont);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

void FillSysColor(HDC dc, const RECT& rect, int sysColor);
void FillColor(HDC dc, const RECT& rect, COLORREF color);
// One-pixel frame lines: top and left in one system colour, bottom and
// right in the other.
void Frame3d(HDC dc, const RECT& rect, int topLeftSysColor, int bottomRightSysColor);
// The two-pixel sunken border of edits and check boxes; shrinks the rect.
void SunkenEdge(HDC dc, RECT& rect);
// The two-pixel raised border of push buttons; shrinks the rect.
void RaisedEdge(HDC dc, RECT& rect);

// Draws a label with DrawTextA in the DC's current text colour, or, when the
// control is disabled, embossed in the 3-D highlight and shadow colours.
void DrawLabel(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled);

// True when the window manager left no frame area around the client area,
// so a control that wants a border draws it inside its client area.
bool HasNoFrameArea(HWND hwnd);

}  // namespace qm::ui::controls
