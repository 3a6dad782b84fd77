#include "platform/ui/gdi/Png.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "platform/kernel/host/AtomicWrite.h"
#include "platform/ui/DisplayBackend.h"

namespace qm::ui::gdi {

std::optional<Surface> DecodePng(const void* data, std::size_t size) {
  if (data == nullptr || size == 0) return std::nullopt;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return std::nullopt;
  // Opaque images are read without alpha: asking for alpha would route the
  // pixels through linear light and shift colours by a step.
  const bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = hasAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const std::size_t channels = hasAlpha ? 4 : 3;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  Surface surface(static_cast<int>(image.width), static_cast<int>(image.height), 0);
  for (std::size_t i = 0; i < surface.pixels.size(); ++i) {
    const png_byte* p = &bytes[i * channels];
    surface.pixels[i] = (std::uint32_t(hasAlpha ? p[3] : 0xFF) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
  }
  return surface;
}

}  // namespace qm::ui::gdi

namespace qm::ui {

bool SavePng(const Surface& surface, const std::string& hostPath) {
  if (surface.width <= 0 || surface.height <= 0) return false;
  std::vector<png_byte> bytes(surface.pixels.size() * 3);
  for (std::size_t i = 0; i < surface.pixels.size(); ++i) {
    std::uint32_t p = surface.pixels[i];
    bytes[i * 3] = png_byte(p >> 16);
    bytes[i * 3 + 1] = png_byte(p >> 8);
    bytes[i * 3 + 2] = png_byte(p);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width);
  image.height = static_cast<png_uint_32>(surface.height);
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> encoded(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = encoded.size();
  if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, bytes.data(), 0, nullptr)) return false;
  // Replaced whole, so a reader never sees half a file.
  return qm::kernel::host::WriteFileAtomically(hostPath,
                                               std::string_view(reinterpret_cast<const char*>(encoded.data()), size));
}

}  // namespace qm::ui
