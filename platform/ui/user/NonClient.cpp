// The non-client area in the classic look: 3-D frames, the caption bar with
// its title and close box, thin borders and client edges. Frames are drawn
// straight into the top-level window's surface; only the title goes through
// a device context, for its font.
#include <algorithm>
#include <cstring>

#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/user/CloseBox.h"
#include "platform/ui/user/ScrollBars.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

using qm::ui::PixelFromColor;
using qm::ui::Surface;

struct Painter {
  Surface& surface;
  RECT clip;

  void Fill(RECT r, std::uint32_t pixel) {
    r = {std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
         std::min(r.bottom, clip.bottom)};
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        if (surface.Contains(x, y)) surface.At(x, y) = pixel;
  }
  // One ring of a 3-D edge: topLeft colours the top and left lines.
  void Ring(const RECT& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
    Fill({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  }
};

std::uint32_t Sys(int index) { return PixelFromColor(GetSysColor(index)); }

RECT Deflate(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

int FrameWidth(const Window& w) {
  RECT insets = NonClientInsets(w);
  int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? 2 : (w.exStyle & WS_EX_STATICEDGE) ? 1 : 0;
  return insets.left - edge;
}

// The close box in window coordinates; empty without WS_SYSMENU.
RECT CloseBox(const Window& w) {
  if (!HasCaption(w) || !(w.style & WS_SYSMENU)) return {0, 0, 0, 0};
  int frame = FrameWidth(w);
  int right = (w.rect.right - w.rect.left) - frame - 2;
  int top = frame + 2;
  return {right - 16, top, right, top + 14};
}

HFONT CaptionFont() {
  static HFONT font = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  return font;
}

void DrawCross(Painter& p, int left, int top, std::uint32_t ink) {
  for (int i = 0; i < 7; ++i) {
    p.Fill({left + i, top + i, left + i + 2, top + i + 1}, ink);
    p.Fill({left + 6 - i, top + i, left + 8 - i, top + i + 1}, ink);
  }
}

void DrawCloseBox(Painter& p, RECT box, bool disabled) {
  p.Fill(box, Sys(COLOR_3DFACE));
  p.Ring(box, Sys(COLOR_3DHILIGHT), Sys(COLOR_3DDKSHADOW));
  p.Ring(Deflate(box, 1), Sys(COLOR_3DFACE), Sys(COLOR_3DSHADOW));
  // The X: two diagonals two pixels thick, 8 by 7 pixels, centred; greyed,
  // it is etched like disabled text.
  int left = box.left + (box.right - box.left - 8) / 2;
  int top = box.top + (box.bottom - box.top - 7) / 2;
  if (disabled) {
    DrawCross(p, left + 1, top + 1, Sys(COLOR_3DHILIGHT));
    DrawCross(p, left, top, Sys(COLOR_3DSHADOW));
  } else {
    DrawCross(p, left, top, Sys(COLOR_BTNTEXT));
  }
}

}  // namespace

namespace qm::ui::user {

void DrawNonClient(Window& w) {
  Window* root = Find(RootOf(w.handle));
  if (!root) return;
  RECT insets = NonClientInsets(w);
  if (insets.left == 0 && insets.top == 0 && insets.right == 0 && insets.bottom == 0) return;
  EnsureSurface(*root);
  POINT o = WindowOriginInRoot(w);
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT outer{o.x, o.y, o.x + width, o.y + height};
  Painter p{*root->surface, VisibleClipInRoot(w, true)};
  int frame = FrameWidth(w);
  RECT r = outer;
  if (frame == 1) {
    p.Ring(r, Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME));
  } else if (frame >= 2) {
    p.Ring(r, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW));
    p.Ring(Deflate(r, 1), Sys(COLOR_3DHILIGHT), Sys(COLOR_3DSHADOW));
    for (int i = 2; i < frame; ++i) p.Ring(Deflate(r, i), Sys(COLOR_3DFACE), Sys(COLOR_3DFACE));
  }
  r = Deflate(r, frame);
  if (HasCaption(w)) {
    bool active = w.captionActive;
    RECT bar{r.left, r.top, r.right, r.top + CaptionHeight};
    p.Fill(bar, Sys(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    p.Fill({r.left, bar.bottom, r.right, bar.bottom + 1}, Sys(COLOR_3DFACE));
    RECT close = CloseBox(w);
    if (close.right > close.left)
      DrawCloseBox(p, {o.x + close.left, o.y + close.top, o.x + close.right, o.y + close.bottom}, CloseBoxDisabled(w));
    if (!w.text.empty()) {
      RECT titleClip{bar.left + 2, bar.top, (close.right > close.left ? o.x + close.left : bar.right) - 2, bar.bottom};
      titleClip = {std::max(titleClip.left, p.clip.left), std::max(titleClip.top, p.clip.top),
                   std::min(titleClip.right, p.clip.right), std::min(titleClip.bottom, p.clip.bottom)};
      if (titleClip.right > titleClip.left && titleClip.bottom > titleClip.top) {
        HDC dc = CreateSurfaceDC(root->surface, {bar.left, bar.top}, titleClip, w.handle);
        HGDIOBJ oldFont = SelectObject(dc, CaptionFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT text{3, 0, titleClip.right - bar.left, CaptionHeight};
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
    p.Ring(r, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHILIGHT));
    p.Ring(Deflate(r, 1), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT));
  } else if (w.exStyle & WS_EX_STATICEDGE) {
    p.Ring(r, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHILIGHT));
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
  if (LRESULT bar = ScrollBarHitTest(w, p); bar != HTNOWHERE) return bar;
  RECT close = CloseBox(w);
  if (p.x >= close.left && p.x < close.right && p.y >= close.top && p.y < close.bottom) return HTCLOSE;
  int frame = FrameWidth(w);
  if (HasCaption(w) && p.y >= frame && p.y < frame + CaptionHeight) return HTCAPTION;
  return HTBORDER;
}

}  // namespace qm::ui::user
