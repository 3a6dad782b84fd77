#include "platform/ui/gdi/Icons.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/Png.h"

namespace qm::ui::gdi {
namespace {

struct IconObject {
  Surface image;
  bool shared = false;
};

std::unordered_map<HICON, std::unique_ptr<IconObject>>& IconTable() {
  static std::unordered_map<HICON, std::unique_ptr<IconObject>> table;
  return table;
}

}  // namespace

HICON InsertIcon(Surface image, bool shared) {
  auto icon = std::make_unique<IconObject>();
  icon->image = std::move(image);
  icon->shared = shared;
  HICON handle = reinterpret_cast<HICON>(NextHandleValue(HandleKind::Icon));
  IconTable().emplace(handle, std::move(icon));
  return handle;
}

const Surface* IconImage(HICON icon) {
  auto& table = IconTable();
  auto it = table.find(icon);
  return it == table.end() ? nullptr : &it->second->image;
}

HBITMAP InsertBitmap(Surface image) {
  // Bitmaps are opaque: what the picture leaves transparent shows the
  // dialog face it is usually put on.
  std::uint32_t face = qm::ui::PixelFromColor(GetSysColor(COLOR_BTNFACE));
  for (std::uint32_t& pixel : image.pixels) {
    int alpha = int(pixel >> 24);
    // Most of a picture is wholly opaque or wholly clear: it is blended
    // only where its edges are soft.
    if (alpha == 0xFF) continue;
    if (alpha == 0) {
      pixel = face | 0xFF000000u;
      continue;
    }
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      int s = (pixel >> shift) & 0xFF, d = (face >> shift) & 0xFF;
      out |= std::uint32_t((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    pixel = out;
  }
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->surface = std::make_shared<Surface>(std::move(image));
  return InsertObject(std::move(bitmap));
}

}  // namespace qm::ui::gdi

using namespace qm::ui::gdi;
using qm::ui::Surface;

HICON CreateIconFromPng(const void* data, std::size_t size) {
  std::optional<Surface> image = DecodePng(data, size);
  return image ? InsertIcon(std::move(*image), false) : nullptr;
}

HBITMAP CreateBitmapFromPng(const void* data, std::size_t size) {
  std::optional<Surface> image = DecodePng(data, size);
  return image ? InsertBitmap(std::move(*image)) : nullptr;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flicker, UINT) {
  DeviceContext* context = LookupDC(dc);
  const Surface* image = IconImage(icon);
  if (context == nullptr || image == nullptr || context->Target() == nullptr) return FALSE;
  if (width <= 0) width = image->width;
  if (height <= 0) height = image->height;
  POINT at = context->Device(x, y);
  BrushPaint background = ResolveBrush(flicker);
  if (background.valid && !background.hollow)
    context->Fill({at.x, at.y, at.x + width, at.y + height}, qm::ui::PixelFromColor(background.color));
  for (int j = 0; j < height; ++j) {
    int sy = static_cast<int>((static_cast<long long>(j) * image->height) / height);
    for (int i = 0; i < width; ++i) {
      int sx = static_cast<int>((static_cast<long long>(i) * image->width) / width);
      std::uint32_t pixel = image->At(sx, sy);
      context->Blend(at.x + i, at.y + j, pixel | 0xFF000000u, int(pixel >> 24));
    }
  }
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL DestroyIcon(HICON icon) {
  auto& table = IconTable();
  auto it = table.find(icon);
  if (it == table.end()) return FALSE;
  if (!it->second->shared) table.erase(it);
  return TRUE;
}
