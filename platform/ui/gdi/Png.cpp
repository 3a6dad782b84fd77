#include "platform/ui/gdi/Png.h"

#include <png.h>

#include <bit>
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
  // Pixels are 0xAARRGGBB words, which on this little-endian host lie in
  // memory as B, G, R, A: an image with alpha is read straight into them.
  static_assert(std::endian::native == std::endian::little);
  image.format = hasAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_RGB;
  Surface surface(static_cast<int>(image.width), static_cast<int>(image.height), 0);
  auto* bytes = reinterpret_cast<png_byte*>(surface.pixels.data());
  if (!png_image_finish_read(&image, nullptr, bytes, 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  if (!hasAlpha) {
    // Three bytes a pixel, packed at the start: widened from the last
    // pixel back, no pixel overwrites bytes not yet read.
    for (std::size_t i = surface.pixels.size(); i-- > 0;) {
      const png_byte* p = bytes + i * 3;
      surface.pixels[i] = 0xFF000000u | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
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
