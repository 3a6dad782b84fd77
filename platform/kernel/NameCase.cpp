#include "platform/kernel/NameCase.h"

namespace qm::kernel {

std::optional<std::u32string> DecodeNameUtf8(std::string_view name) {
  std::u32string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    unsigned char lead = static_cast<unsigned char>(name[i]);
    int extra;
    char32_t c;
    if (lead < 0x80) {
      extra = 0;
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      c = lead & 0x07;
    } else {
      return std::nullopt;
    }
    if (i + extra >= name.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(name[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    static constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

std::string EncodeNameUtf8(std::u32string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char32_t c : name) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

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
  // Every pair of cases above is encoded in the same number of bytes, so
  // names of different lengths never match; lookups scan whole folders and
  // reject most names here.
  if (a.size() != b.size()) return false;
  bool ascii = true;
  for (size_t i = 0; i < a.size() && ascii; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) {
      ascii = false;
    } else if (x != y) {
      if (UpcaseNameChar(x) != UpcaseNameChar(y)) return false;
    }
  }
  if (ascii) return true;
  auto wideA = DecodeNameUtf8(a);
  auto wideB = DecodeNameUtf8(b);
  if (!wideA || !wideB || wideA->size() != wideB->size()) return false;
  for (size_t i = 0; i < wideA->size(); ++i)
    if (UpcaseNameChar((*wideA)[i]) != UpcaseNameChar((*wideB)[i])) return false;
  return true;
}

std::string UpcaseName(std::string_view name) {
  auto wide = DecodeNameUtf8(name);
  if (!wide) return std::string(name);
  for (char32_t& c : *wide) c = UpcaseNameChar(c);
  return EncodeNameUtf8(*wide);
}

}  // namespace qm::kernel
