// Dragging a window by its caption: the modal loop, with a filter that
// follows the mouse until the button is released (Esc puts the window back
// where it was) and keeps the keyboard from everything else meanwhile.
#include "platform/ui/user/ModalLoop.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

namespace {

// Keeps a strip of the caption on the screen, so the window can always be
// dragged back.
POINT KeepReachable(POINT topLeft, int width) {
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  constexpr int Visible = 24;
  if (topLeft.x + width < screen.left + Visible) topLeft.x = screen.left + Visible - width;
  if (topLeft.x > screen.right - Visible) topLeft.x = screen.right - Visible;
  if (topLeft.y < screen.top) topLeft.y = screen.top;
  if (topLeft.y > screen.bottom - Visible) topLeft.y = screen.bottom - Visible;
  return topLeft;
}

}  // namespace

void TrackWindowMove(HWND hwnd, POINT start) {
  Window* w = Find(hwnd);
  if (!w || w->IsChild() || w->maximized) return;
  RECT original;
  GetWindowRect(hwnd, &original);
  int width = original.right - original.left, height = original.bottom - original.top;
  SetCapture(hwnd);
  // No owner: the window being dragged stays active and enabled.
  RunModalLoop(
      nullptr, hwnd, [hwnd] { return GetCapture() == hwnd; },
      [&](MSG& msg) {
        if (msg.hwnd == hwnd && msg.message == WM_MOUSEMOVE) {
          POINT to = KeepReachable({original.left + msg.pt.x - start.x, original.top + msg.pt.y - start.y}, width);
          MoveWindow(hwnd, to.x, to.y, width, height, TRUE);
          return ModalFilterResult::Handled;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) return ModalFilterResult::EndLoop;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
          MoveWindow(hwnd, original.left, original.top, width, height, TRUE);
          return ModalFilterResult::EndLoop;
        }
        if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSCHAR) return ModalFilterResult::Handled;
        return ModalFilterResult::Dispatch;
      });
  if (GetCapture() == hwnd) ReleaseCapture();
}

}  // namespace qm::ui::user
