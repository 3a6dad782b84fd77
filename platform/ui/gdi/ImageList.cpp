// Image lists: equally sized images kept with their transparency in the
// alpha of each pixel, drawn by blending over what is already there.
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/Icons.h"

using namespace qm::ui::gdi;
using qm::ui::Surface;

struct IMAGELIST {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  std::vector<Surface> images;
};

namespace {

std::unordered_map<HIMAGELIST, std::unique_ptr<IMAGELIST>>& Lists() {
  static std::unordered_map<HIMAGELIST, std::unique_ptr<IMAGELIST>> lists;
  return lists;
}

IMAGELIST* Find(HIMAGELIST handle) {
  auto it = Lists().find(handle);
  return it == Lists().end() ? nullptr : it->second.get();
}

const Surface* BitmapSurface(HBITMAP bitmap) {
  auto* object = Lookup<BitmapObject>(bitmap);
  return object && object->surface ? object->surface.get() : nullptr;
}

// A mask pixel counts as transparent when it is light, as a white pixel of
// a monochrome mask is.
bool IsTransparentMask(std::uint32_t pixel) {
  int sum = int((pixel >> 16) & 0xFF) + int((pixel >> 8) & 0xFF) + int(pixel & 0xFF);
  return sum >= 3 * 128;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto list = std::make_unique<IMAGELIST>();
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  list->images.reserve(static_cast<std::size_t>(std::max(initial, 0)));
  auto handle = reinterpret_cast<HIMAGELIST>(NextHandleValue(HandleKind::ImageList));
  Lists().emplace(handle, std::move(list));
  return handle;
}

BOOL ImageList_Destroy(HIMAGELIST handle) { return Lists().erase(handle) ? TRUE : FALSE; }

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask) {
  IMAGELIST* list = Find(handle);
  const Surface* source = BitmapSurface(image);
  if (!list || !source || source->width < list->cx || source->height < list->cy) return -1;
  const Surface* maskSource = (list->flags & ILC_MASK) ? BitmapSurface(mask) : nullptr;
  int first = static_cast<int>(list->images.size());
  for (int left = 0; left + list->cx <= source->width; left += list->cx) {
    Surface picture(list->cx, list->cy, 0);
    for (int y = 0; y < list->cy; ++y)
      for (int x = 0; x < list->cx; ++x) {
        std::uint32_t pixel = source->At(left + x, y) | 0xFF000000u;
        if (maskSource && maskSource->Contains(left + x, y) && IsTransparentMask(maskSource->At(left + x, y)))
          pixel &= 0x00FFFFFFu;
        picture.At(x, y) = pixel;
      }
    list->images.push_back(std::move(picture));
  }
  return first;
}

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, HICON icon) {
  IMAGELIST* list = Find(handle);
  const Surface* source = IconImage(icon);
  if (!list || !source || source->width <= 0 || source->height <= 0) return -1;
  if (index < -1 || index >= static_cast<int>(list->images.size())) return -1;
  Surface picture(list->cx, list->cy, 0);
  for (int y = 0; y < list->cy; ++y)
    for (int x = 0; x < list->cx; ++x)
      picture.At(x, y) = source->At(x * source->width / list->cx, y * source->height / list->cy);
  if (index == -1) {
    list->images.push_back(std::move(picture));
    return static_cast<int>(list->images.size()) - 1;
  }
  list->images[static_cast<std::size_t>(index)] = std::move(picture);
  return index;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC dc, int x, int y, UINT) {
  IMAGELIST* list = Find(handle);
  DeviceContext* context = LookupDC(dc);
  if (!list || !context || !context->Target() || index < 0 || index >= static_cast<int>(list->images.size()))
    return FALSE;
  const Surface& picture = list->images[static_cast<std::size_t>(index)];
  POINT at = context->Device(x, y);
  for (int j = 0; j < picture.height; ++j)
    for (int i = 0; i < picture.width; ++i) {
      std::uint32_t pixel = picture.At(i, j);
      if (pixel >> 24) context->Blend(at.x + i, at.y + j, pixel | 0xFF000000u, int(pixel >> 24));
    }
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
  IMAGELIST* list = Find(handle);
  return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
  IMAGELIST* list = Find(handle);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->cx;
  *cy = list->cy;
  return TRUE;
}
