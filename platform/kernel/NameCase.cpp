#include "platform/kernel/NameCase.h"

#include <cstdint>

#include "platform/kernel/Utf8.h"

namespace qm::kernel {
namespace {

// Most names are ASCII throughout: their bytes fold here, without a
// character decoded or encoded.
constexpr unsigned char UpcaseAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 0x20 : c; }

}  // namespace

char32_t UpcaseNameChar(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs capital/small on even/odd code points, except
  // for a middle run that pairs odd/even.
  if (c >= 0x100 && c <= 0x137) return c & ~char32_t{1};
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
  if (c >= 0x14A && c <= 0x177) return c & ~char32_t{1};
  if (c == 0x17A || c == 0x17C || c == 0x17E) return c - 1;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  // Upper-casing keeps every character's length, so names of different
  // lengths never match; lookups scan whole folders and reject most names
  // here. For the same reason equal names have their characters at the
  // same offsets, and one offset walks both.
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x < 0x80 && y < 0x80) {
      if (x != y && UpcaseAscii(x) != UpcaseAscii(y)) return false;
      ++i;
      continue;
    }
    Utf8Char p = DecodeUtf8Char(a, i);
    Utf8Char q = DecodeUtf8Char(b, i);
    if (p.length != q.length || p.wellFormed != q.wellFormed) return false;
    if (p.wellFormed ? UpcaseNameChar(p.codePoint) != UpcaseNameChar(q.codePoint)
                     : a.substr(i, p.length) != b.substr(i, q.length))
      return false;
    i += p.length;
  }
  return true;
}

namespace {

// The bytes of UpcaseName(name), one at a time, without building it.
class UpcasedBytes {
 public:
  explicit UpcasedBytes(std::string_view name) : name(name) {}

  // The next byte, or -1 past the end.
  int Next() {
    if (position == length) {
      if (next >= name.size()) return -1;
      auto byte = static_cast<unsigned char>(name[next]);
      if (byte < 0x80) {
        ++next;
        return UpcaseAscii(byte);
      }
      Utf8Char c = DecodeUtf8Char(name, next);
      length = c.wellFormed ? EncodeUtf8(UpcaseNameChar(c.codePoint), buffer) : 0;
      if (length == 0) {
        // No case: the bytes as they stand.
        length = static_cast<int>(c.length);
        for (int k = 0; k < length; ++k) buffer[k] = name[next + static_cast<std::size_t>(k)];
      }
      next += c.length;
      position = 0;
    }
    return static_cast<unsigned char>(buffer[position++]);
  }

 private:
  std::string_view name;
  std::size_t next = 0;
  char buffer[4] = {};
  int length = 0;
  int position = 0;
};

}  // namespace

std::size_t HashNameIgnoringCase(std::string_view name) {
  // FNV-1a over the bytes UpcaseName would give.
  std::uint64_t hash = 14695981039346656037ull;
  UpcasedBytes bytes(name);
  for (int byte = bytes.Next(); byte >= 0; byte = bytes.Next())
    hash = (hash ^ static_cast<std::uint64_t>(byte)) * 1099511628211ull;
  return static_cast<std::size_t>(hash);
}

std::uint64_t UpcasePrefixKey(std::string_view name) {
  UpcasedBytes bytes(name);
  std::uint64_t key = 0;
  for (int i = 0; i < 8; ++i) {
    int byte = bytes.Next();
    key = (key << 8) | static_cast<std::uint64_t>(byte < 0 ? 0 : byte);
    if (byte < 0) {
      key <<= 8 * (7 - i);
      break;
    }
  }
  return key;
}

std::string UpcaseName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(UpcaseAscii(byte)));
      ++i;
      continue;
    }
    Utf8Char c = DecodeUtf8Char(name, i);
    if (c.wellFormed)
      AppendUtf8(out, UpcaseNameChar(c.codePoint));
    else
      out.append(name.substr(i, c.length));
    i += c.length;
  }
  return out;
}

}  // namespace qm::kernel
