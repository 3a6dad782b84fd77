// The program's resources, registered at start, and loading them by id.
#include "platform/ui/Resources.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/kernel/Utf8.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/gdi/Icons.h"
#include "platform/ui/gdi/Png.h"

namespace qm::ui {
namespace {

struct Registry {
  std::map<UINT, std::string> strings;
  std::map<UINT, std::vector<unsigned char>> bitmaps;
  std::map<UINT, std::vector<unsigned char>> icons;
  std::map<UINT, HICON> loadedIcons;
  // Each page of a wizard loads its pictures anew: a picture is decoded
  // once, and every load gets a bitmap of its own made from that.
  std::map<UINT, Surface> decodedBitmaps;
  std::map<UINT, DialogTemplate> dialogs;
};

Registry& Resources() {
  static Registry registry;
  return registry;
}

std::vector<unsigned char> Bytes(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  return data ? std::vector<unsigned char>(bytes, bytes + size) : std::vector<unsigned char>{};
}

}  // namespace

void RegisterStringResource(UINT id, const std::string& text) { Resources().strings[id] = text; }

void RegisterBitmapResource(UINT id, const void* pngData, std::size_t size) {
  Registry& registry = Resources();
  registry.bitmaps[id] = Bytes(pngData, size);
  registry.decodedBitmaps.erase(id);
}

void RegisterIconResource(UINT id, const void* pngData, std::size_t size) {
  Registry& registry = Resources();
  registry.icons[id] = Bytes(pngData, size);
  registry.loadedIcons.erase(id);
}

void RegisterDialogResource(UINT id, const DialogTemplate& dialogTemplate) { Resources().dialogs[id] = dialogTemplate; }

const DialogTemplate* FindDialogResource(UINT id) {
  auto& dialogs = Resources().dialogs;
  auto it = dialogs.find(id);
  return it == dialogs.end() ? nullptr : &it->second;
}

}  // namespace qm::ui

using qm::ui::Resources;

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int bufferMax) {
  auto& strings = Resources().strings;
  auto it = strings.find(id);
  if (it == strings.end() || buffer == nullptr || bufferMax <= 0) return 0;
  const std::string& text = it->second;
  // A cut never splits a character.
  std::size_t length = qm::kernel::Utf8BoundaryAtOrBefore(text, std::min(text.size(), std::size_t(bufferMax - 1)));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  const WORD id = LOWORD(reinterpret_cast<std::uintptr_t>(name));
  auto& registry = Resources();
  auto decoded = registry.decodedBitmaps.find(id);
  if (decoded == registry.decodedBitmaps.end()) {
    auto it = registry.bitmaps.find(id);
    if (it == registry.bitmaps.end()) return nullptr;
    std::optional<qm::ui::Surface> image = qm::ui::gdi::DecodePng(it->second.data(), it->second.size());
    if (!image) return nullptr;
    decoded = registry.decodedBitmaps.emplace(id, std::move(*image)).first;
  }
  return qm::ui::gdi::InsertBitmap(decoded->second);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  WORD id = LOWORD(reinterpret_cast<std::uintptr_t>(name));
  if (instance == nullptr)
    if (HICON system = qm::ui::gdi::SystemIcon(id)) return system;
  auto& registry = Resources();
  if (auto loaded = registry.loadedIcons.find(id); loaded != registry.loadedIcons.end()) return loaded->second;
  auto it = registry.icons.find(id);
  if (it == registry.icons.end()) return nullptr;
  std::optional<qm::ui::Surface> image = qm::ui::gdi::DecodePng(it->second.data(), it->second.size());
  if (!image) return nullptr;
  // Icons loaded by id are shared: every load returns the same one.
  HICON shared = qm::ui::gdi::InsertIcon(std::move(*image), true);
  registry.loadedIcons[id] = shared;
  return shared;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  // The pointer's shape is the host's; the handle only has to name a cursor.
  static std::map<std::uintptr_t, std::unique_ptr<char>> cursors;
  auto& slot = cursors[reinterpret_cast<std::uintptr_t>(name)];
  if (!slot) slot = std::make_unique<char>();
  return reinterpret_cast<HCURSOR>(slot.get());
}
