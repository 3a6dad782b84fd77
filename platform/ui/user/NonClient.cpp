// The non-client area in the classic look: 3-D frames, the caption bar with
// its title, icon and boxes (CaptionButtons.h), thin borders and client
// edges. Frames are drawn straight into the top-level window's surface; only
// the title goes through a device context, for its font.
#include <algorithm>
#include <cstring>

#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/CaptionButtons.h"
#include "platform/ui/user/CloseBox.h"
#include "platform/ui/user/ScrollBars.h"
#include "platform/ui/user/FramePainter.h"
#include "platform/ui/user/WindowSize.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

HFONT CaptionFont() {
  static HFONT font = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  return font;
}

}  // namespace

namespace qm::ui::user {

int FrameThickness(const Window& w) {
  RECT insets = NonClientInsets(w);
  int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? 2 : (w.exStyle & WS_EX_STATICEDGE) ? 1 : 0;
  return insets.left - edge;
}

void DrawNonClient(Window& w) {
  Window* root = Find(RootOf(w.handle));
  if (!root) return;
  RECT insets = NonClientInsets(w);
  if (insets.left == 0 && insets.top == 0 && insets.right == 0 && insets.bottom == 0) return;
  EnsureSurface(*root);
  POINT o = WindowOriginInRoot(w);
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT outer{o.x, o.y, o.x + width, o.y + height};
  FramePainter p{*root->surface, VisibleClipInRoot(w, true)};
  int frame = FrameThickness(w);
  RECT r = outer;
  if (frame == 1) {
    p.Ring(r, SysPixel(COLOR_WINDOWFRAME), SysPixel(COLOR_WINDOWFRAME));
  } else if (frame >= 2) {
    p.Ring(r, SysPixel(COLOR_3DLIGHT), SysPixel(COLOR_3DDKSHADOW));
    p.Ring(Deflate(r, 1), SysPixel(COLOR_3DHILIGHT), SysPixel(COLOR_3DSHADOW));
    for (int i = 2; i < frame; ++i) p.Ring(Deflate(r, i), SysPixel(COLOR_3DFACE), SysPixel(COLOR_3DFACE));
  }
  r = Deflate(r, frame);
  if (HasCaption(w)) {
    bool active = w.captionActive;
    RECT bar{r.left, r.top, r.right, r.top + CaptionHeight};
    p.Fill(bar, SysPixel(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    p.Fill({r.left, bar.bottom, r.right, bar.bottom + 1}, SysPixel(COLOR_3DFACE));
    DrawCaptionParts(p, w, o);
    CaptionParts parts = CaptionPartsOf(w);
    if (!w.text.empty()) {
      LONG titleLeft = IsEmptyRect(parts.icon) ? bar.left + 2 : o.x + parts.icon.right + 1;
      LONG titleRight = bar.right;
      for (const RECT& box : {parts.close, parts.maximize, parts.minimize, parts.help})
        if (!IsEmptyRect(box)) titleRight = o.x + box.left;
      RECT titleClip{titleLeft, bar.top, titleRight - 2, bar.bottom};
      titleClip = {std::max(titleClip.left, p.clip.left), std::max(titleClip.top, p.clip.top),
                   std::min(titleClip.right, p.clip.right), std::min(titleClip.bottom, p.clip.bottom)};
      if (titleClip.right > titleClip.left && titleClip.bottom > titleClip.top) {
        HDC dc = CreateSurfaceDC(root->surface, {bar.left, bar.top}, titleClip, w.handle);
        HGDIOBJ oldFont = SelectObject(dc, CaptionFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT text{titleLeft - bar.left + 1, 0, titleClip.right - bar.left, CaptionHeight};
        DrawTextA(dc, w.text.c_str(), static_cast<int>(w.text.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, oldFont);
        TakeDrawnBounds(dc);
        DestroySurfaceDC(dc);
      }
    }
    r.top = bar.bottom + 1;
  }
  if (w.exStyle & WS_EX_CLIENTEDGE) {
    p.Ring(r, SysPixel(COLOR_3DSHADOW), SysPixel(COLOR_3DHILIGHT));
    p.Ring(Deflate(r, 1), SysPixel(COLOR_3DDKSHADOW), SysPixel(COLOR_3DLIGHT));
  } else if (w.exStyle & WS_EX_STATICEDGE) {
    p.Ring(r, SysPixel(COLOR_3DSHADOW), SysPixel(COLOR_3DHILIGHT));
  }
  DrawScrollBars(w);
  if (root->IsVisibleFlag()) {
    RECT screen;
    GetWindowRect(w.handle, &screen);
    MarkScreenDirty(screen);
  }
}

bool CloseBoxDisabled(const Window& w) {
  return w.closeDisabled || (w.windowClass && (w.windowClass->info.style & CS_NOCLOSE));
}

void DisableCloseBox(HWND hwnd, bool disable) {
  Window* w = Find(hwnd);
  if (!w || w->closeDisabled == disable) return;
  w->closeDisabled = disable;
  if (IsShown(*w) && HasCaption(*w)) DrawNonClient(*w);
}

LRESULT NonClientHitTest(const Window& w, POINT screen) {
  POINT o = WindowOriginOnScreen(w);
  POINT p{screen.x - o.x, screen.y - o.y};
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return HTNOWHERE;
  RECT client = ClientRectInWindow(w);
  if (p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom) return HTCLIENT;
  if (LRESULT edge = SizingBorderHitTest(w, p); edge != HTNOWHERE) return edge;
  if (LRESULT bar = ScrollBarHitTest(w, p); bar != HTNOWHERE) return bar;
  if (LRESULT part = CaptionPartAt(w, p); part != HTNOWHERE) return part;
  int frame = FrameThickness(w);
  if (HasCaption(w) && p.y >= frame && p.y < frame + CaptionHeight) return HTCAPTION;
  return HTBORDER;
}

}  // namespace qm::ui::user
