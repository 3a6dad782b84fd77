#include "platform/ui/gdi/GdiObjects.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "platform/ui/WinUser.h"
#include "platform/ui/gdi/FontEngine.h"

namespace qm::ui::gdi {
namespace {

struct ObjectTable {
  std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
};

ObjectTable& Table() {
  static ObjectTable table;
  return table;
}

HGDIOBJ InsertStock(std::unique_ptr<GdiObject> object) {
  object->stock = true;
  return InsertObject(std::move(object));
}

HGDIOBJ StockBrush(bool hollow, COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->hollow = hollow;
  brush->color = color;
  return InsertStock(std::move(brush));
}

HGDIOBJ StockPen(int style, COLORREF color) {
  auto pen = std::make_unique<PenObject>();
  pen->style = style;
  pen->color = color;
  return InsertStock(std::move(pen));
}

HGDIOBJ StockFont(LONG height, LONG weight, const char* face) {
  auto font = std::make_unique<FontObject>();
  font->logFont.lfHeight = height;
  font->logFont.lfWeight = weight;
  std::strncpy(font->logFont.lfFaceName, face, LF_FACESIZE - 1);
  return InsertStock(std::move(font));
}

struct StockObjects {
  std::array<HGDIOBJ, 20> handles{};
  HBITMAP defaultBitmap = nullptr;

  StockObjects() {
    handles[WHITE_BRUSH] = StockBrush(false, RGB(255, 255, 255));
    handles[LTGRAY_BRUSH] = StockBrush(false, RGB(192, 192, 192));
    handles[GRAY_BRUSH] = StockBrush(false, RGB(128, 128, 128));
    handles[DKGRAY_BRUSH] = StockBrush(false, RGB(64, 64, 64));
    handles[BLACK_BRUSH] = StockBrush(false, RGB(0, 0, 0));
    handles[NULL_BRUSH] = StockBrush(true, 0);
    handles[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
    handles[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
    handles[NULL_PEN] = StockPen(PS_NULL, 0);
    // The system font: a bold face with a 16-pixel cell.
    handles[SYSTEM_FONT] = StockFont(16, FW_BOLD, "System");
    handles[DEFAULT_GUI_FONT] = StockFont(-11, FW_NORMAL, "MS Shell Dlg");
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->surface = std::make_shared<Surface>(1, 1, 0xFF000000u);
    defaultBitmap = InsertStock(std::move(bitmap));
  }
};

StockObjects& Stock() {
  static StockObjects stock;
  return stock;
}

void Destroy(HGDIOBJ handle) { Table().objects.erase(reinterpret_cast<std::uintptr_t>(handle)); }

}  // namespace

std::uintptr_t NextHandleValue(HandleKind kind) {
  // Counting starts well above the (HBRUSH)(COLOR_x + 1) range.
  static std::uintptr_t counters[4] = {0x1000, 0x1000, 0x1000, 0x1000};
  auto tag = static_cast<std::uintptr_t>(kind);
  return (counters[tag >> 2]++ << 4) | tag;
}

HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object) {
  std::uintptr_t value = NextHandleValue(HandleKind::Object);
  Table().objects.emplace(value, std::move(object));
  return reinterpret_cast<HGDIOBJ>(value);
}

GdiObject* LookupObject(HGDIOBJ handle) {
  if (handle == nullptr) return nullptr;
  auto& objects = Table().objects;
  auto it = objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == objects.end() ? nullptr : it->second.get();
}

void Retain(HGDIOBJ handle) {
  if (GdiObject* object = LookupObject(handle)) ++object->useCount;
}

void Release(HGDIOBJ handle) {
  GdiObject* object = LookupObject(handle);
  if (object == nullptr) return;
  if (object->useCount > 0) --object->useCount;
  if (object->useCount == 0 && object->deletePending) Destroy(handle);
}

BrushPaint ResolveBrush(HBRUSH brush) {
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= COLOR_GRADIENTINACTIVECAPTION + 1)
    return {true, false, GetSysColor(static_cast<int>(value) - 1)};
  if (auto* object = Lookup<BrushObject>(brush)) return {true, object->hollow, object->color};
  return {};
}

HBITMAP DefaultBitmap() { return Stock().defaultBitmap; }

}  // namespace qm::ui::gdi

using namespace qm::ui::gdi;
using qm::ui::Surface;

HGDIOBJ GetStockObject(int index) {
  const auto& handles = Stock().handles;
  if (index < 0 || index >= static_cast<int>(handles.size())) return nullptr;
  return handles[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_NULL) return nullptr;
  auto pen = std::make_unique<PenObject>();
  pen->style = style;
  pen->width = width < 1 ? 1 : width;
  pen->color = color & 0x00FFFFFF;
  return InsertObject(std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->color = color & 0x00FFFFFF;
  return InsertObject(std::move(brush));
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* found = LookupObject(object);
  if (found == nullptr) return FALSE;
  if (found->stock) return TRUE;
  if (found->useCount > 0) {
    found->deletePending = true;
    return TRUE;
  }
  Destroy(object);
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  GdiObject* found = LookupObject(object);
  if (found == nullptr) return 0;
  auto copyOut = [&](const auto& value) -> int {
    constexpr int needed = static_cast<int>(sizeof(value));
    if (buffer == nullptr) return needed;
    if (size < needed) return 0;
    std::memcpy(buffer, &value, sizeof(value));
    return needed;
  };
  switch (found->kind) {
    case ObjectKind::Bitmap: {
      const Surface& surface = *static_cast<BitmapObject*>(found)->surface;
      BITMAP bitmap{};
      bitmap.bmWidth = surface.width;
      bitmap.bmHeight = surface.height;
      bitmap.bmWidthBytes = surface.width * 4;
      bitmap.bmPlanes = 1;
      bitmap.bmBitsPixel = 32;
      return copyOut(bitmap);
    }
    case ObjectKind::Font:
      return copyOut(static_cast<FontObject*>(found)->logFont);
    case ObjectKind::Pen: {
      auto* pen = static_cast<PenObject*>(found);
      LOGPEN logPen{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
      return copyOut(logPen);
    }
    case ObjectKind::Brush: {
      auto* brush = static_cast<BrushObject*>(found);
      LOGBRUSH logBrush{brush->hollow ? BS_NULL : BS_SOLID, brush->color, 0};
      return copyOut(logBrush);
    }
  }
  return 0;
}
