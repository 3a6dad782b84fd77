// How the window system gets device contexts for windows: a DC that draws
// into part of a surface. The window manager owns the surfaces; the drawing
// layer owns the DCs.
#pragma once

#include <memory>

#include "platform/kernel/WinTypes.h"
#include "platform/ui/Surface.h"

namespace qm::ui {

// A DC whose logical (0,0) lands at `origin` of the surface and whose drawing
// is clipped to `clip` (surface coordinates). `window` is reported by
// WindowFromDC. The DC starts with the default objects (black pen, white
// brush, the system font, black text on an opaque white background).
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, RECT clip, HWND window);
// Releases a DC made by CreateSurfaceDC (ReleaseDC and EndPaint end here).
void DestroySurfaceDC(HDC dc);
// The union of everything drawn through the DC since it was made or since
// the last call, in surface coordinates; empty when nothing was drawn. The
// window manager uses it to compose only what changed.
RECT TakeDrawnBounds(HDC dc);
// The surface a DC draws into (a window's, or the bitmap selected into a
// memory DC); null when there is none.
Surface* SurfaceOfDC(HDC dc);
HWND WindowFromDC(HDC dc);

}  // namespace qm::ui
