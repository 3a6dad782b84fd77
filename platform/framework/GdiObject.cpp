#include "platform/framework/GdiObject.h"

#include "platform/framework/DC.h"
#include "platform/framework/Resources.h"
#include "platform/ui/Resources.h"

namespace qm::fw {

GdiObject::~GdiObject() { DeleteObject(); }

bool GdiObject::DeleteObject() {
  if (!handle) return false;
  const BOOL deleted = ::DeleteObject(handle);
  handle = nullptr;
  return deleted != FALSE;
}

void GdiObject::Attach(HGDIOBJ object) {
  DeleteObject();
  handle = object;
}

HGDIOBJ GdiObject::Detach() {
  HGDIOBJ object = handle;
  handle = nullptr;
  return object;
}

bool GdiObject::Set(HGDIOBJ object) {
  Attach(object);
  return handle != nullptr;
}

bool Pen::CreatePen(int style, int width, COLORREF color) { return Set(::CreatePen(style, width, color)); }

bool Brush::CreateSolidBrush(COLORREF color) { return Set(::CreateSolidBrush(color)); }

bool Font::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                      BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                      BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
  return Set(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                           outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

bool Font::CreateFontIndirect(const LOGFONTA& logFont) { return Set(::CreateFontIndirectA(&logFont)); }

bool Bitmap::CreateCompatibleBitmap(DC& dc, int width, int height) {
  return Set(::CreateCompatibleBitmap(dc.Handle(), width, height));
}

bool Bitmap::LoadBitmap(UINT id) {
  return Set(::LoadBitmapA(ResourceInstance(), MAKEINTRESOURCEA(static_cast<WORD>(id))));
}

bool Bitmap::GetBitmap(BITMAP* info) const {
  return Handle() && ::GetObjectA(Handle(), sizeof(BITMAP), info) != 0;
}

}  // namespace qm::fw
