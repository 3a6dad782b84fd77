// The picture files compiled into the executable (generated at build time
// from resources/images).
#pragma once

#include <cstddef>

struct EmbeddedPicture {
  const char* name;  // the file name, e.g. "wizard-129.png"
  const unsigned char* data;
  std::size_t size;
};

extern const EmbeddedPicture embeddedPictures[];
extern const std::size_t embeddedPictureCount;
