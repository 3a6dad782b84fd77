// Resizing a window by its sizing border (WS_THICKFRAME): the border's hit
// test (HTLEFT .. HTBOTTOMRIGHT, the corners reaching a caption's height
// along each edge), the default limits of WM_GETMINMAXINFO, and the loop
// that follows the mouse while the border is held. The window hears
// WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, then for every step WM_SIZING (it may
// change the rectangle) and WM_SIZE, and WM_EXITSIZEMOVE at the end; its
// children stay where they are unless it moves them. Esc puts the window
// back as it was.
#pragma once

#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

// HTLEFT .. HTBOTTOMRIGHT for a point (window coordinates) on the sizing
// border of a window that can be resized; HTNOWHERE elsewhere.
LRESULT SizingBorderHitTest(const Window& w, POINT inWindow);
bool IsSizingHit(LRESULT hit);
MINMAXINFO DefaultMinMaxInfo(const Window& w);
// WM_NCLBUTTONDOWN on the sizing border.
void TrackWindowSize(HWND hwnd, LRESULT hit, POINT start);
// The cursor for a hit test code: the sizing arrows on the border, the
// arrow elsewhere; null for HTCLIENT (the window's class cursor).
HCURSOR CursorForHit(LRESULT hit);

}  // namespace qm::ui::user
