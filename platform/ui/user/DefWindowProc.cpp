// What a window does with a message its own procedure leaves alone.
#include <algorithm>
#include <cstring>

#include "platform/ui/WinGdi.h"
#include "platform/ui/user/ScrollBars.h"
#include "platform/ui/user/CaptionButtons.h"
#include "platform/ui/user/WindowSize.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

constexpr std::uintptr_t LastSystemColor = 30;

HBRUSH ClassBrush(const Window& w) {
  HBRUSH brush = w.windowClass->info.hbrBackground;
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value != 0 && value <= LastSystemColor + 1) return GetSysColorBrush(static_cast<int>(value - 1));
  return brush;
}

LRESULT EraseBackground(Window& w, HDC dc) {
  HBRUSH brush = ClassBrush(w);
  if (!brush || !dc) return 0;
  RECT client;
  GetClientRect(w.handle, &client);
  FillRect(dc, &client, brush);
  return 1;
}

LRESULT ControlColor(HDC dc, int background) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// A child's parents may choose the cursor first; else the window under the
// pointer takes its class cursor over its client area, the sizing arrows on
// a sizing border, the arrow elsewhere.
LRESULT SetCursorForHit(Window& w, HWND under, LRESULT hit, LPARAM lParam) {
  if (w.IsChild() && w.parent && SendMessageA(w.parent, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), lParam))
    return TRUE;
  if (under != w.handle) return FALSE;
  HCURSOR cursor = CursorForHit(hit);
  if (!cursor) cursor = w.windowClass ? w.windowClass->info.hCursor : nullptr;
  if (cursor) SetCursor(cursor);
  return cursor ? TRUE : FALSE;
}

void RestoreFocus(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  HWND last = w->lastFocus;
  if (last && Find(last) && IsDescendant(hwnd, last) && IsWindowVisible(last) && AcceptsInput(last))
    SetFocus(last);
  else
    SetFocus(hwnd);
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindOrDesktop(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT: {
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      if (HasCaption(*w)) MarkFrameDirty(*w);
      return TRUE;
    }
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      auto* buffer = reinterpret_cast<char*>(lParam);
      std::size_t count = std::min<std::size_t>(w->text.size(), wParam - 1);
      std::memcpy(buffer, w->text.data(), count);
      buffer[count] = '\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return EraseBackground(*w, reinterpret_cast<HDC>(wParam));
    case WM_NCPAINT:
      DrawNonClient(*w);
      return 0;
    case WM_NCACTIVATE:
      if (w->captionActive != (wParam != 0)) {
        w->captionActive = wParam != 0;
        if (HasCaption(*w)) DrawNonClient(*w);
      }
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) RestoreFocus(hwnd);
      return 0;
    case WM_NCHITTEST:
      return NonClientHitTest(*w, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_NCLBUTTONDOWN: {
      POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      LRESULT hit = static_cast<LRESULT>(wParam);
      if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP) TrackCaptionBox(hwnd, hit, screen);
      if (hit == HTCAPTION) TrackWindowMove(hwnd, screen);
      if (IsSizingHit(hit)) TrackWindowSize(hwnd, hit, screen);
      if (hit == HTVSCROLL || hit == HTHSCROLL) TrackScrollBar(hwnd, hit == HTVSCROLL ? SB_VERT : SB_HORZ, screen);
      return 0;
    }
    case WM_SETCURSOR:
      return SetCursorForHit(*w, reinterpret_cast<HWND>(wParam),
                             static_cast<LRESULT>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)))), lParam);
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
      // Unhandled by a child, they are the parent's to take.
      if (w->IsChild() && Find(w->parent)) return SendMessageA(w->parent, message, wParam, lParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (LPARAM(1) << 29))) {
        HWND root = RootOf(hwnd);
        if (Window* r = Find(root); r && (r->style & WS_SYSMENU) && !CloseBoxDisabled(*r))
          SendMessageA(root, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_3DFACE);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
    case WM_GETDLGCODE:
      return 0;
    default:
      return 0;
  }
}
