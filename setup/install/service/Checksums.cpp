// CRC-32 of files and strings. The state is never inverted at the end, and a
// file counts as if it ended in the end-of-file byte 0x1A, so a file and the
// same file with one 0x1A appended check alike.
#include <array>
#include <cstdio>

#include "install/service/Service.h"
#include "platform/kernel/Crt.h"

namespace {

constexpr std::uint8_t kEndOfFile = 0x1A;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    table[i] = value;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t UpdateCrc32(std::uint32_t state, std::uint8_t byte) {
  return kCrcTable[(state ^ byte) & 0xFF] ^ (state >> 8);
}

std::uint32_t FileCrc32(const std::string& name) {
  std::uint32_t state = 0xFFFFFFFFu;
  std::FILE* file = CrtOpenFile(name.c_str(), "rb");
  if (file == nullptr) return state;
  // An empty file has no last byte; it is treated like any file that does
  // not end in the marker, so it checks like a file holding only 0x1A.
  int last = -1;
  unsigned char chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    for (std::size_t i = 0; i < count; ++i) state = UpdateCrc32(state, chunk[i]);
    last = chunk[count - 1];
  }
  std::fclose(file);
  if (last != kEndOfFile) state = UpdateCrc32(state, kEndOfFile);
  return state;
}

std::uint32_t StringCrc32(const char* text) {
  std::uint32_t state = 0xFFFFFFFFu;
  for (const char* p = text; *p != '\0'; ++p) state = UpdateCrc32(state, static_cast<std::uint8_t>(*p));
  return state;
}
