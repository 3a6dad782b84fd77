#include "platform/ui/controls/ControlSupport.h"

#include <vector>

#include "platform/ui/Controls.h"

namespace qm::ui::controls {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

void SetStyleBits(HWND hwnd, DWORD bits, bool on) {
  DWORD style = StyleOf(hwnd);
  DWORD changed = on ? (style | bits) : (style & ~bits);
  if (changed != style) SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(changed));
}

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  WORD id = static_cast<WORD>(GetWindowLongPtrA(control, GWLP_ID));
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColors(HWND control, HDC dc, UINT message) {
  bool windowColours = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(windowColours ? COLOR_WINDOW : COLOR_BTNFACE));
  SetBkMode(dc, OPAQUE);
  if (HWND parent = GetParent(control)) {
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    if (brush) return brush;
  }
  return GetSysColorBrush(windowColours ? COLOR_WINDOW : COLOR_BTNFACE);
}

std::optional<LRESULT> FontAndEraseMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HFONT& font) {
  switch (message) {
    case WM_SETFONT:
      font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(static_cast<DWORD_PTR>(lParam))) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font);
    case WM_ERASEBKGND:
      return 1;
    default:
      return std::nullopt;
  }
}

void BeginMouseHold(HWND hwnd, bool& held) {
  SetCapture(hwnd);
  held = true;
}

LRESULT EndMouseHold(UINT message, bool& held) {
  if (!held) return 0;
  held = false;
  // Letting go of a capture taken away already would take it from its new holder.
  if (message == WM_LBUTTONUP) ReleaseCapture();
  return 0;
}

std::optional<int> ScrolledPosition(HWND hwnd, int bar, WORD code, int position, int line, int page, int end) {
  switch (code) {
    case SB_LINEUP: return position - line;
    case SB_LINEDOWN: return position + line;
    case SB_PAGEUP: return position - page;
    case SB_PAGEDOWN: return position + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return end;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, bar, &info);
      return info.nTrackPos;
    }
    default: return std::nullopt;
  }
}

HFONT EffectiveFont(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

MeasuringDC::MeasuringDC(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
  oldFont_ = SelectObject(dc_, EffectiveFont(font));
}

MeasuringDC::~MeasuringDC() {
  SelectObject(dc_, oldFont_);
  ReleaseDC(hwnd_, dc_);
}

int FontHeight(HWND hwnd, HFONT font) {
  MeasuringDC dc(hwnd, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.Get(), &metrics);
  return static_cast<int>(metrics.tmHeight);
}

void FillSysColor(HDC dc, const RECT& rect, int sysColor) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  FillRect(dc, &rect, GetSysColorBrush(sysColor));
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Frame3d(HDC dc, const RECT& r, int topLeftSysColor, int bottomRightSysColor) {
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
  FillSysColor(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeftSysColor);
  FillSysColor(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeftSysColor);
  FillSysColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRightSysColor);
  FillSysColor(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRightSysColor);
}

namespace {
void Shrink(RECT& rect) {
  ++rect.left;
  ++rect.top;
  --rect.right;
  --rect.bottom;
}
}  // namespace

void SunkenEdge(HDC dc, RECT& rect) {
  Frame3d(dc, rect, COLOR_3DSHADOW, COLOR_3DHILIGHT);
  Shrink(rect);
  Frame3d(dc, rect, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  Shrink(rect);
}

void RaisedEdge(HDC dc, RECT& rect) {
  Frame3d(dc, rect, COLOR_3DHILIGHT, COLOR_3DDKSHADOW);
  Shrink(rect);
  Frame3d(dc, rect, COLOR_3DLIGHT, COLOR_3DSHADOW);
  Shrink(rect);
}

void DrawLabel(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled) {
  if (text.empty()) return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  } else {
    COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    RECT shifted{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SetTextColor(dc, oldColor);
  }
  SetBkMode(dc, oldMode);
}

bool HasNoFrameArea(HWND hwnd) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

}  // namespace qm::ui::controls
