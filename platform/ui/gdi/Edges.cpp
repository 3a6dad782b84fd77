// Three-dimensional borders in the classic palette. Each border is two
// one-pixel rings; the top-left and bottom-right halves of each ring take
// their own system colour, and the bottom-right half owns the corners it
// shares with the other.
#include "platform/ui/WinUser.h"
#include "platform/ui/gdi/DeviceContext.h"

using namespace qm::ui::gdi;
using qm::ui::PixelFromColor;

namespace {

// Indexed by (inner bits << 2) | outer bits; -1 draws nothing.
constexpr signed char kTopLeftOuter[16] = {-1, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
                                           COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
                                           COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
                                           -1, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1};
constexpr signed char kTopLeftInner[16] = {-1, -1, -1, -1, -1, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, -1,
                                           -1, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, -1, -1, -1, -1, -1};
constexpr signed char kBottomRightOuter[16] = {-1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
                                               COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
                                               COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
                                               -1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1};
constexpr signed char kBottomRightInner[16] = {-1, -1, -1, -1, -1, COLOR_BTNSHADOW, COLOR_BTNSHADOW, -1,
                                               -1, COLOR_3DLIGHT, COLOR_3DLIGHT, -1, -1, -1, -1, -1};

void Ring(DeviceContext& dc, const RECT& r, int topLeft, int bottomRight, UINT sides) {
  if (IsEmpty(r)) return;
  if (topLeft >= 0) {
    std::uint32_t pixel = PixelFromColor(GetSysColor(topLeft));
    if (sides & BF_TOP) dc.Fill({r.left, r.top, r.right, r.top + 1}, pixel);
    if (sides & BF_LEFT) dc.Fill({r.left, r.top, r.left + 1, r.bottom}, pixel);
  }
  if (bottomRight >= 0) {
    std::uint32_t pixel = PixelFromColor(GetSysColor(bottomRight));
    if (sides & BF_BOTTOM) dc.Fill({r.left, r.bottom - 1, r.right, r.bottom}, pixel);
    if (sides & BF_RIGHT) dc.Fill({r.right - 1, r.top, r.right, r.bottom}, pixel);
  }
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || rect == nullptr || context->Target() == nullptr) return FALSE;
  int index = static_cast<int>(edge & 0x0F);
  RECT device = context->Device(*rect);
  Ring(*context, device, kTopLeftOuter[index], kBottomRightOuter[index], flags);
  bool hasOuter = kTopLeftOuter[index] >= 0 || kBottomRightOuter[index] >= 0;
  bool hasInner = kTopLeftInner[index] >= 0 || kBottomRightInner[index] >= 0;
  RECT inner = device;
  auto shrink = [&](RECT& r) {
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  };
  if (hasOuter) shrink(inner);
  if (hasInner) {
    Ring(*context, inner, kTopLeftInner[index], kBottomRightInner[index], flags);
    shrink(inner);
  }
  if (flags & BF_MIDDLE) context->Fill(inner, PixelFromColor(GetSysColor(COLOR_BTNFACE)));
  if (flags & BF_ADJUST) {
    POINT shift{device.left - rect->left, device.top - rect->top};
    *rect = {inner.left - shift.x, inner.top - shift.y, inner.right - shift.x, inner.bottom - shift.y};
  }
  return TRUE;
}
