#include "platform/ui/user/WindowSize.h"

#include <algorithm>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Resources.h"
#include "platform/ui/user/ModalLoop.h"

namespace qm::ui::user {

namespace {

bool CanBeSized(const Window& w) {
  return !w.IsChild() && (w.style & WS_THICKFRAME) && !w.maximized && !w.minimized;
}

WPARAM EdgeOf(LRESULT hit) { return static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT); }

bool MovesLeft(WPARAM edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool MovesRight(WPARAM edge) { return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT; }
bool MovesTop(WPARAM edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }
bool MovesBottom(WPARAM edge) { return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT; }

// The original rectangle with the dragged edges moved by the pointer's
// travel, kept within the tracking limits by holding the far edges.
RECT Resized(const RECT& original, WPARAM edge, POINT travel, const MINMAXINFO& limits) {
  RECT r = original;
  if (MovesLeft(edge)) r.left += travel.x;
  if (MovesRight(edge)) r.right += travel.x;
  if (MovesTop(edge)) r.top += travel.y;
  if (MovesBottom(edge)) r.bottom += travel.y;
  const int width = std::clamp(static_cast<int>(r.right - r.left), static_cast<int>(limits.ptMinTrackSize.x),
                               static_cast<int>(std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x)));
  const int height = std::clamp(static_cast<int>(r.bottom - r.top), static_cast<int>(limits.ptMinTrackSize.y),
                                static_cast<int>(std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y)));
  if (MovesLeft(edge))
    r.left = r.right - width;
  else
    r.right = r.left + width;
  if (MovesTop(edge))
    r.top = r.bottom - height;
  else
    r.bottom = r.top + height;
  return r;
}

}  // namespace

bool IsSizingHit(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

LRESULT SizingBorderHitTest(const Window& w, POINT p) {
  if (!CanBeSized(w)) return HTNOWHERE;
  const int frame = FrameThickness(w);
  const int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  bool left = p.x < frame, right = p.x >= width - frame, top = p.y < frame, bottom = p.y >= height - frame;
  if (!left && !right && !top && !bottom) return HTNOWHERE;
  // Near a corner, along either edge, the corner takes both directions.
  const int corner = frame + GetSystemMetrics(SM_CYSIZE);
  if (left || right) {
    top = top || p.y < corner;
    bottom = bottom || p.y >= height - corner;
  }
  if (top || bottom) {
    left = left || p.x < corner;
    right = right || p.x >= width - corner;
  }
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

MINMAXINFO DefaultMinMaxInfo(const Window& w) {
  const RECT work = qm::ui::Display().WorkArea();
  const int frame = FrameThickness(w);
  MINMAXINFO info{};
  info.ptMaxSize = {work.right - work.left + 2 * frame, work.bottom - work.top + 2 * frame};
  info.ptMaxPosition = {work.left - frame, work.top - frame};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * frame, GetSystemMetrics(SM_CYSCREEN) + 2 * frame};
  return info;
}

void TrackWindowSize(HWND hwnd, LRESULT hit, POINT start) {
  Window* w = Find(hwnd);
  if (!w || !CanBeSized(*w) || !IsSizingHit(hit)) return;
  const WPARAM edge = EdgeOf(hit);
  RECT original{};
  GetWindowRect(hwnd, &original);
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  if (!(w = Find(hwnd))) return;
  MINMAXINFO limits = DefaultMinMaxInfo(*w);
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  if (!IsWindow(hwnd)) return;
  SetCapture(hwnd);
  auto place = [hwnd](const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(hwnd);
  };
  // No owner: the window being sized stays active and enabled.
  RunModalLoop(
      nullptr, hwnd, [hwnd] { return GetCapture() == hwnd; },
      [&](MSG& msg) {
        if (msg.message == WM_MOUSEMOVE) {
          RECT proposed = Resized(original, edge, POINT{msg.pt.x - start.x, msg.pt.y - start.y}, limits);
          SendMessageA(hwnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed));
          if (IsWindow(hwnd)) place(proposed);
          return ModalFilterResult::Handled;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) return ModalFilterResult::EndLoop;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
          place(original);
          return ModalFilterResult::EndLoop;
        }
        if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSCHAR) return ModalFilterResult::Handled;
        if (IsMouseMessage(msg.message)) return ModalFilterResult::Handled;
        return ModalFilterResult::Dispatch;
      });
  if (GetCapture() == hwnd) ReleaseCapture();
  if (IsWindow(hwnd)) SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

HCURSOR CursorForHit(LRESULT hit) {
  switch (hit) {
    case HTCLIENT: return nullptr;
    case HTLEFT:
    case HTRIGHT: return LoadCursorA(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursorA(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursorA(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursorA(nullptr, IDC_SIZENESW);
    default: return LoadCursorA(nullptr, IDC_ARROW);
  }
}

}  // namespace qm::ui::user

namespace {

HCURSOR currentCursor = nullptr;

}  // namespace

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = currentCursor;
  currentCursor = cursor;
  return previous;
}

HCURSOR GetCursor() { return currentCursor; }
