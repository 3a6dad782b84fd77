// Stand-ins for the drawing layer's entry points the window manager calls,
// until the drawing layer is linked in. Weak, so the real ones win.
#include <algorithm>
#include <map>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

#define QM_WEAK __attribute__((weak))

namespace {

struct FallbackDC {
  std::shared_ptr<qm::ui::Surface> surface;
  POINT origin;
  RECT clip;
  HWND window;
  RECT drawn{0, 0, 0, 0};
};

COLORREF ClassicColor(int index) {
  switch (index) {
    case COLOR_BACKGROUND: return RGB(0, 128, 128);
    case COLOR_ACTIVECAPTION: return RGB(0, 0, 128);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_3DSHADOW: return RGB(128, 128, 128);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(192, 192, 192);
    case COLOR_3DHILIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(0, 0, 0);
    case COLOR_3DLIGHT: return RGB(192, 192, 192);
    case COLOR_3DFACE: return RGB(192, 192, 192);
    default: return RGB(0, 0, 0);
  }
}

constexpr std::uintptr_t BrushTag = std::uintptr_t(1) << 40;

}  // namespace

namespace qm::ui {

QM_WEAK HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, RECT clip, HWND window) {
  return reinterpret_cast<HDC>(new FallbackDC{std::move(surface), origin, clip, window});
}
QM_WEAK void DestroySurfaceDC(HDC dc) { delete reinterpret_cast<FallbackDC*>(dc); }
QM_WEAK RECT TakeDrawnBounds(HDC dc) {
  auto* d = reinterpret_cast<FallbackDC*>(dc);
  RECT r = d->drawn;
  d->drawn = {0, 0, 0, 0};
  return r;
}
QM_WEAK Surface* SurfaceOfDC(HDC dc) { return reinterpret_cast<FallbackDC*>(dc)->surface.get(); }
QM_WEAK HWND WindowFromDC(HDC dc) { return reinterpret_cast<FallbackDC*>(dc)->window; }
QM_WEAK bool SavePng(const Surface&, const std::string&) { return false; }

}  // namespace qm::ui

QM_WEAK DWORD GetSysColor(int index) { return ClassicColor(index); }
QM_WEAK HBRUSH GetSysColorBrush(int index) { return CreateSolidBrush(ClassicColor(index)); }
QM_WEAK HBRUSH CreateSolidBrush(COLORREF color) { return reinterpret_cast<HBRUSH>(BrushTag | color); }
QM_WEAK int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto* d = reinterpret_cast<FallbackDC*>(dc);
  if (!d || !rect) return 0;
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (!(value & BrushTag)) return 0;
  std::uint32_t pixel = qm::ui::PixelFromColor(static_cast<COLORREF>(value & 0xFFFFFF));
  RECT r{std::max(rect->left + d->origin.x, d->clip.left), std::max(rect->top + d->origin.y, d->clip.top),
         std::min(rect->right + d->origin.x, d->clip.right), std::min(rect->bottom + d->origin.y, d->clip.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x)
      if (d->surface->Contains(x, y)) d->surface->At(x, y) = pixel;
  if (d->drawn.right <= d->drawn.left) {
    d->drawn = r;
  } else {
    d->drawn = {std::min(d->drawn.left, r.left), std::min(d->drawn.top, r.top), std::max(d->drawn.right, r.right),
                std::max(d->drawn.bottom, r.bottom)};
  }
  return 1;
}
QM_WEAK COLORREF SetTextColor(HDC, COLORREF) { return 0; }
QM_WEAK COLORREF SetBkColor(HDC, COLORREF) { return 0; }
QM_WEAK int SetBkMode(HDC, int) { return 0; }
QM_WEAK HGDIOBJ SelectObject(HDC, HGDIOBJ) { return nullptr; }
QM_WEAK HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) {
  return nullptr;
}
QM_WEAK int DrawTextA(HDC, LPCSTR, int, RECT*, UINT) { return 0; }
QM_WEAK BOOL DeleteObject(HGDIOBJ) { return TRUE; }
