// The STATIC class: text (word-wrapped, centred, right-aligned or unwrapped,
// with & marking an access key unless SS_NOPREFIX), icons, bitmaps, etched
// lines and filled or framed rectangles.
#include "platform/ui/controls/ControlProcs.h"

#include "platform/ui/Controls.h"
#include "platform/ui/controls/ControlSupport.h"

namespace qm::ui::controls {

namespace {

struct StaticState {
  HFONT font = nullptr;
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
};

DWORD StaticType(DWORD style) { return style & SS_TYPEMASK; }

UINT TextFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  switch (StaticType(style)) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP: format |= DT_LEFT; break;
    case SS_SIMPLE: format |= DT_LEFT | DT_SINGLELINE; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_EDITCONTROL) format |= DT_EDITCONTROL;
  return format;
}

void PaintBitmap(HDC dc, HBITMAP bitmap, const RECT& area, bool centred) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  int x = area.left, y = area.top;
  if (centred) {
    x += (area.right - area.left - info.bmWidth) / 2;
    y += (area.bottom - area.top - info.bmHeight) / 2;
  }
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void Paint(HWND hwnd, HDC dc, const StaticState& state) {
  DWORD style = StyleOf(hwnd);
  RECT rect{};
  GetClientRect(hwnd, &rect);
  DWORD type = StaticType(style);
  switch (type) {
    case SS_BLACKRECT: FillSysColor(dc, rect, COLOR_WINDOWFRAME); return;
    case SS_GRAYRECT: FillSysColor(dc, rect, COLOR_3DSHADOW); return;
    case SS_WHITERECT: FillSysColor(dc, rect, COLOR_3DHILIGHT); return;
    case SS_BLACKFRAME: Frame3d(dc, rect, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME); return;
    case SS_ETCHEDHORZ:
      FillSysColor(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, COLOR_3DSHADOW);
      FillSysColor(dc, RECT{rect.left, rect.top + 1, rect.right, rect.top + 2}, COLOR_3DHILIGHT);
      return;
    default: break;
  }
  HBRUSH brush = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rect, brush);
  if ((style & SS_SUNKEN) && HasNoFrameArea(hwnd)) {
    Frame3d(dc, rect, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  }
  bool centred = (style & SS_CENTERIMAGE) != 0;
  if (type == SS_ICON) {
    if (!state.icon) return;
    int size = GetSystemMetrics(SM_CXICON);
    int x = rect.left, y = rect.top;
    if (centred) {
      x += (rect.right - rect.left - size) / 2;
      y += (rect.bottom - rect.top - size) / 2;
    }
    DrawIconEx(dc, x, y, state.icon, size, size, 0, nullptr, DI_NORMAL);
    return;
  }
  if (type == SS_BITMAP) {
    if (state.bitmap) PaintBitmap(dc, state.bitmap, rect, centred);
    return;
  }
  std::string text = WindowText(hwnd);
  DrawLabel(dc, text, rect, TextFormat(style), IsWindowEnabled(hwnd));
}

// Pictures size the control to themselves, as the dialog manager expects.
void FitToImage(HWND hwnd, int width, int height) {
  DWORD style = StyleOf(hwnd);
  if (style & (SS_CENTERIMAGE | SS_REALSIZEIMAGE)) return;
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  int frameX = (window.right - window.left) - client.right;
  int frameY = (window.bottom - window.top) - client.bottom;
  if ((style & SS_SUNKEN) && frameX == 0) frameX = frameY = 2;
  SetWindowPos(hwnd, nullptr, 0, 0, width + frameX, height + frameY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SetIcon(HWND hwnd, StaticState& state, HICON icon) {
  HICON previous = state.icon;
  state.icon = icon;
  if (icon && StaticType(StyleOf(hwnd)) == SS_ICON) {
    int size = GetSystemMetrics(SM_CXICON);
    FitToImage(hwnd, size, size);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT SetBitmap(HWND hwnd, StaticState& state, HBITMAP bitmap) {
  HBITMAP previous = state.bitmap;
  state.bitmap = bitmap;
  BITMAP info{};
  if (bitmap && GetObjectA(bitmap, sizeof info, &info)) FitToImage(hwnd, info.bmWidth, info.bmHeight);
  InvalidateRect(hwnd, nullptr, TRUE);
  return reinterpret_cast<LRESULT>(previous);
}

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) AttachState<StaticState>(hwnd);
  StaticState* state = StateOf<StaticState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (std::optional<LRESULT> result = FontAndEraseMessage(hwnd, message, wParam, lParam, state->font)) return *result;
  switch (message) {
    case WM_NCDESTROY:
      DestroyState<StaticState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_NCHITTEST:
      // Labels, frames and pictures let clicks through to what lies below
      // unless they were asked to report them.
      if (!(StyleOf(hwnd) & SS_NOTIFY)) return HTTRANSPARENT;
      break;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      return PaintWithFont(hwnd, state->font, [&](HDC dc) { Paint(hwnd, dc, *state); });
    case STM_SETICON:
      return SetIcon(hwnd, *state, reinterpret_cast<HICON>(wParam));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(state->icon);
    case STM_SETIMAGE:
      if (wParam == IMAGE_ICON) return SetIcon(hwnd, *state, reinterpret_cast<HICON>(lParam));
      if (wParam == IMAGE_BITMAP) return SetBitmap(hwnd, *state, reinterpret_cast<HBITMAP>(lParam));
      return 0;
    case STM_GETIMAGE:
      if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(state->icon);
      if (wParam == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(state->bitmap);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls
