// The device-context calls: making and releasing DCs, selecting objects,
// and the state the drawing calls read (colours, modes, clip, origin).
#include <algorithm>
#include <utility>

#include "platform/ui/SurfaceDC.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObjects.h"

using namespace qm::ui::gdi;
using qm::ui::Surface;

namespace qm::ui {

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, RECT clip, HWND window) {
  if (!surface) return nullptr;
  return InsertDC(std::make_unique<DeviceContext>(std::move(surface), origin, clip, window));
}

void DestroySurfaceDC(HDC dc) { EraseDC(dc); }

RECT TakeDrawnBounds(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->TakeDrawn() : RECT{0, 0, 0, 0};
}

Surface* SurfaceOfDC(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->Target() : nullptr;
}

HWND WindowFromDC(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->Window() : nullptr;
}

}  // namespace qm::ui

HDC CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && LookupDC(dc) == nullptr) return nullptr;
  return InsertDC(std::make_unique<DeviceContext>());
}

BOOL DeleteDC(HDC dc) {
  return EraseDC(dc) ? TRUE : FALSE;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (LookupDC(dc) == nullptr || width < 0 || height < 0) return nullptr;
  // Every bitmap is 32-bit, whatever the DC holds: there is no monochrome
  // default, so a bitmap made from a fresh memory DC still takes colour.
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->surface = std::make_shared<Surface>(std::max(width, 1), std::max(height, 1), 0xFF000000u);
  return InsertObject(std::move(bitmap));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->Select(object) : nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return nullptr;
  const DcState& state = context->State();
  switch (type) {
    case OBJ_PEN: return state.pen;
    case OBJ_BRUSH: return state.brush;
    case OBJ_FONT: return state.font;
    case OBJ_BITMAP: return state.bitmap;
    default: return nullptr;
  }
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->State().textColor, color & 0x00FFFFFF);
}

COLORREF GetTextColor(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->State().textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->State().bkColor, color & 0x00FFFFFF);
}

COLORREF GetBkColor(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->State().bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(context->State().bkMode, mode);
}

int GetBkMode(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->State().bkMode : 0;
}

int SaveDC(HDC dc) {
  DeviceContext* context = LookupDC(dc);
  return context ? context->Save() : 0;
}

BOOL RestoreDC(HDC dc, int savedDC) {
  DeviceContext* context = LookupDC(dc);
  return context && context->Restore(savedDC) ? TRUE : FALSE;
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  constexpr int kError = 0, kNullRegion = 1, kSimpleRegion = 2;
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return kError;
  context->IntersectClip(context->Device(RECT{left, top, right, bottom}));
  return IsEmpty(context->Clip()) ? kNullRegion : kSimpleRegion;
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return FALSE;
  if (previous) *previous = context->State().viewportOrg;
  context->State().viewportOrg = {x, y};
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr) return 0;
  Surface* target = context->Target();
  switch (index) {
    case HORZRES: return target ? target->width : 0;
    case VERTRES: return target ? target->height : 0;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
  }
}
