// The parts of a caption bar besides its title: the small class icon at the
// left, and at the right the minimize, maximize (restore, when maximized)
// and close boxes. Windows with WS_SYSMENU show the close box; the other two
// come as a pair when the style has WS_MINIMIZEBOX or WS_MAXIMIZEBOX, the
// one the style lacks greyed. A window with WS_EX_CONTEXTHELP and neither of
// those shows the context-help box "?" beside the close box instead, which
// sends SC_CONTEXTHELP. A box is held pressed while the mouse button
// is down on it, and acts (WM_SYSCOMMAND) when the button is released on it.
#pragma once

#include "platform/ui/user/FramePainter.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

// In window coordinates; an empty rectangle for a part the window lacks.
struct CaptionParts {
  RECT icon{};
  RECT minimize{};
  RECT maximize{};
  RECT close{};
  RECT help{};
};

CaptionParts CaptionPartsOf(const Window& w);
// HTSYSMENU, HTMINBUTTON, HTMAXBUTTON, HTHELP or HTCLOSE at a point in window
// coordinates; HTNOWHERE elsewhere.
LRESULT CaptionPartAt(const Window& w, POINT inWindow);
// A box that is shown and not greyed.
bool CaptionBoxEnabled(const Window& w, LRESULT box);
// Draws the icon and the boxes; `origin` is the window's top-left in the
// painter's surface.
void DrawCaptionParts(FramePainter& painter, const Window& w, POINT origin);
// Runs while the mouse button is held on a box (WM_NCLBUTTONDOWN).
void TrackCaptionBox(HWND hwnd, LRESULT box, POINT screen);

}  // namespace qm::ui::user
