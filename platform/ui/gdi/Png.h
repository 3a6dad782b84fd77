// PNG images to and from surfaces through libpng.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/ui/Surface.h"

namespace qm::ui::gdi {

// Pixels come out as 0xAARRGGBB with the image's own (straight) alpha.
std::optional<Surface> DecodePng(const void* data, std::size_t size);

}  // namespace qm::ui::gdi
