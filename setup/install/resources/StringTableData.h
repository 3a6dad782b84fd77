// The installer's string table as data.
#pragma once

#include <cstddef>

struct StringResource {
  unsigned id;
  const char* text;
};

extern const StringResource stringTable[];
extern const std::size_t stringTableSize;
