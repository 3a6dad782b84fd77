// The drawing objects behind HGDIOBJ handles: pens, brushes, fonts and
// bitmaps share one handle space. Stock objects live for the whole process.
// An object deleted while a DC still holds it stays usable by that DC and is
// freed when the last DC lets go of it (DeleteObject reports success).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/ui/Surface.h"
#include "platform/ui/WinGdi.h"

namespace qm::ui::gdi {

class FontInstance;

enum class ObjectKind { Pen, Brush, Font, Bitmap };

struct GdiObject {
  explicit GdiObject(ObjectKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  ObjectKind kind;
  bool stock = false;
  int useCount = 0;  // how many DC states (current or saved) hold it
  bool deletePending = false;
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(ObjectKind::Pen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(ObjectKind::Brush) {}
  bool hollow = false;
  COLORREF color = 0;
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(ObjectKind::Font) {}
  LOGFONTA logFont{};
  std::shared_ptr<FontInstance> instance;
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
  std::shared_ptr<Surface> surface;
};

// Handle values of DCs, drawing objects, icons and image lists come from separate
// counters with their own low bits, so no value is ever reused or shared
// between kinds: a stale handle finds nothing rather than a newer object.
enum class HandleKind : std::uintptr_t { ImageList = 0x0, Object = 0x4, DC = 0x8, Icon = 0xC };
std::uintptr_t NextHandleValue(HandleKind kind);

HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object);
GdiObject* LookupObject(HGDIOBJ handle);

template <class T>
T* Lookup(HGDIOBJ handle) {
  return dynamic_cast<T*>(LookupObject(handle));
}

// A DC state starts or stops holding an object; a pending deletion happens
// when the last holder lets go.
void Retain(HGDIOBJ handle);
void Release(HGDIOBJ handle);

// What a brush paints with; (HBRUSH)(COLOR_x + 1) stands for the system colour.
struct BrushPaint {
  bool valid = false;
  bool hollow = true;
  COLORREF color = 0;
};
BrushPaint ResolveBrush(HBRUSH brush);

// The 1x1 bitmap a new memory DC starts with.
HBITMAP DefaultBitmap();

}  // namespace qm::ui::gdi
