#include "platform/ui/gdi/DeviceContext.h"

#include <algorithm>
#include <unordered_map>

#include "platform/ui/gdi/FontEngine.h"
#include "platform/ui/gdi/GdiObjects.h"

namespace qm::ui::gdi {
namespace {

std::unordered_map<HDC, std::unique_ptr<DeviceContext>>& DcTable() {
  static std::unordered_map<HDC, std::unique_ptr<DeviceContext>> table;
  return table;
}

DcState DefaultState() {
  DcState state;
  state.pen = GetStockObject(BLACK_PEN);
  state.brush = GetStockObject(WHITE_BRUSH);
  state.font = GetStockObject(SYSTEM_FONT);
  return state;
}

}  // namespace

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return {0, 0, 0, 0};
  return r;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

DeviceContext::DeviceContext(std::shared_ptr<Surface> surface, POINT origin, RECT clip, HWND window)
    : surface_(std::move(surface)), origin_(origin), baseClip_(clip), window_(window), state_(DefaultState()) {
  Hold(state_);
}

DeviceContext::DeviceContext() : memory_(true), state_(DefaultState()) {
  state_.bitmap = DefaultBitmap();
  Hold(state_);
}

DeviceContext::~DeviceContext() {
  for (const DcState& state : saved_) Drop(state);
  Drop(state_);
}

void DeviceContext::Hold(const DcState& state) {
  for (HGDIOBJ object : {state.pen, state.brush, state.font, state.bitmap}) Retain(object);
}

void DeviceContext::Drop(const DcState& state) {
  for (HGDIOBJ object : {state.pen, state.brush, state.font, state.bitmap}) Release(object);
}

Surface* DeviceContext::Target() const {
  if (!memory_) return surface_.get();
  auto* bitmap = Lookup<BitmapObject>(state_.bitmap);
  return bitmap ? bitmap->surface.get() : nullptr;
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object) {
  GdiObject* found = LookupObject(object);
  if (found == nullptr) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (found->kind) {
    case ObjectKind::Pen: slot = &state_.pen; break;
    case ObjectKind::Brush: slot = &state_.brush; break;
    case ObjectKind::Font: slot = &state_.font; break;
    case ObjectKind::Bitmap:
      // Only memory DCs take bitmaps, and a bitmap lives in one DC at a time.
      if (!memory_) return nullptr;
      if (object != state_.bitmap && found->useCount > 0 && !found->stock) return nullptr;
      slot = &state_.bitmap;
      state_.userClip.reset();
      break;
  }
  HGDIOBJ previous = *slot;
  if (previous == object) return previous;
  Retain(object);
  *slot = object;
  Release(previous);
  return previous;
}

int DeviceContext::Save() {
  Hold(state_);
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int level) {
  int count = static_cast<int>(saved_.size());
  if (level < 0) level = count + 1 + level;
  if (level < 1 || level > count) return false;
  while (static_cast<int>(saved_.size()) > level) {
    Drop(saved_.back());
    saved_.pop_back();
  }
  Drop(state_);
  state_ = saved_.back();  // the saved copy's hold passes to the current state
  saved_.pop_back();
  return true;
}

POINT DeviceContext::Device(int x, int y) const {
  return {x + origin_.x + state_.viewportOrg.x, y + origin_.y + state_.viewportOrg.y};
}

RECT DeviceContext::Device(const RECT& r) const {
  POINT a = Device(r.left, r.top);
  POINT b = Device(r.right, r.bottom);
  return {a.x, a.y, b.x, b.y};
}

RECT DeviceContext::Clip() const {
  Surface* target = Target();
  if (target == nullptr) return {0, 0, 0, 0};
  RECT clip{0, 0, target->width, target->height};
  if (!memory_) clip = Intersect(clip, baseClip_);
  if (state_.userClip) clip = Intersect(clip, *state_.userClip);
  return clip;
}

void DeviceContext::IntersectClip(const RECT& deviceRect) {
  RECT current = state_.userClip ? *state_.userClip : Clip();
  state_.userClip = Intersect(current, deviceRect);
}

void DeviceContext::Touch(const RECT& rect) { drawn_ = Union(drawn_, rect); }

RECT DeviceContext::TakeDrawn() {
  RECT drawn = drawn_;
  drawn_ = {0, 0, 0, 0};
  return drawn;
}

void DeviceContext::Fill(RECT rect, std::uint32_t pixel) {
  rect = Intersect(rect, Clip());
  if (IsEmpty(rect)) return;
  Surface& target = *Target();
  for (int y = rect.top; y < rect.bottom; ++y)
    std::fill_n(&target.At(rect.left, y), rect.right - rect.left, pixel);
  Touch(rect);
}

void DeviceContext::Plot(int x, int y, std::uint32_t pixel) {
  RECT clip = Clip();
  if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  Target()->At(x, y) = pixel;
  Touch({x, y, x + 1, y + 1});
}

namespace {

std::uint32_t Mix(std::uint32_t dest, std::uint32_t pixel, int coverage) {
  if (coverage >= 255) return pixel | 0xFF000000u;
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    int s = (pixel >> shift) & 0xFF;
    int d = (dest >> shift) & 0xFF;
    out |= std::uint32_t((s * coverage + d * (255 - coverage) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

void DeviceContext::Blend(int x, int y, std::uint32_t pixel, int coverage) {
  if (coverage <= 0) return;
  RECT clip = Clip();
  if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  std::uint32_t& dest = Target()->At(x, y);
  dest = Mix(dest, pixel, coverage);
  Touch({x, y, x + 1, y + 1});
}

void DeviceContext::BlendMask(int left, int top, int width, int rows, const std::uint8_t* coverage,
                              std::uint32_t pixel) {
  RECT area = Intersect({left, top, left + width, top + rows}, Clip());
  if (IsEmpty(area)) return;
  Surface& target = *Target();
  for (int y = area.top; y < area.bottom; ++y) {
    const std::uint8_t* row = coverage + std::size_t(y - top) * width;
    for (int x = area.left; x < area.right; ++x)
      if (int c = row[x - left]; c > 0) target.At(x, y) = Mix(target.At(x, y), pixel, c);
  }
  Touch(area);
}

void DeviceContext::Invert(int x, int y) {
  RECT clip = Clip();
  if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  Target()->At(x, y) ^= 0x00FFFFFFu;
  Touch({x, y, x + 1, y + 1});
}

FontInstance& DeviceContext::Font() {
  auto* font = Lookup<FontObject>(state_.font);
  if (font == nullptr) font = Lookup<FontObject>(GetStockObject(SYSTEM_FONT));
  return InstanceOf(*font);
}

HDC InsertDC(std::unique_ptr<DeviceContext> dc) {
  HDC handle = reinterpret_cast<HDC>(NextHandleValue(HandleKind::DC));
  DcTable().emplace(handle, std::move(dc));
  return handle;
}

bool EraseDC(HDC dc) { return DcTable().erase(dc) > 0; }

DeviceContext* LookupDC(HDC dc) {
  auto& table = DcTable();
  auto it = table.find(dc);
  return it == table.end() ? nullptr : it->second.get();
}

}  // namespace qm::ui::gdi
