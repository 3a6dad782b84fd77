#include "platform/kernel/Utf8.h"

namespace qm::kernel {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

Utf8Char DecodeUtf8Char(std::string_view text, std::size_t offset) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(offset);
  if (lead < 0x80) return {lead, 1, true};
  // The lead byte says how many continuation bytes follow; the range of the
  // first one excludes overlong forms (E0, F0), surrogates (ED) and values
  // past U+10FFFF (F4).
  int extra;
  char32_t codePoint;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacementCharacter, 1, false};
  }
  std::size_t length = 1;
  for (int k = 0; k < extra; ++k) {
    std::size_t i = offset + length;
    if (i >= text.size() || byte(i) < low || byte(i) > high) return {kReplacementCharacter, length, false};
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    ++length;
    low = 0x80;
    high = 0xBF;
  }
  return {codePoint, length, true};
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    Utf8Char c = DecodeUtf8Char(text, i);
    out.push_back(c.codePoint);
    i += c.length;
  }
  return out;
}

std::optional<std::u32string> DecodeUtf8Strict(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    Utf8Char c = DecodeUtf8Char(text, i);
    if (!c.wellFormed) return std::nullopt;
    out.push_back(c.codePoint);
    i += c.length;
  }
  return out;
}

std::size_t CountUtf8Chars(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += DecodeUtf8Char(text, i).length) ++count;
  return count;
}

std::size_t Utf8BoundaryAtOrBefore(std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return text.size();
  // Every byte that is not a continuation byte starts a character, and a
  // lead byte takes at most three continuation bytes. So the character
  // holding `offset` starts at one of the three bytes before it or at
  // `offset` itself; decode forward from the earliest candidate.
  std::size_t start = offset;
  while (start > 0 && offset - start < 3 && IsContinuation(static_cast<unsigned char>(text[start]))) --start;
  for (std::size_t i = start;;) {
    std::size_t next = i + DecodeUtf8Char(text, i).length;
    if (next > offset) return i;
    i = next;
  }
}

std::size_t PreviousUtf8Boundary(std::string_view text, std::size_t offset) {
  std::size_t boundary = Utf8BoundaryAtOrBefore(text, offset);
  return boundary == 0 ? 0 : Utf8BoundaryAtOrBefore(text, boundary - 1);
}

std::size_t NextUtf8Boundary(std::string_view text, std::size_t offset) {
  std::size_t boundary = Utf8BoundaryAtOrBefore(text, offset);
  return boundary >= text.size() ? text.size() : boundary + DecodeUtf8Char(text, boundary).length;
}

int EncodeUtf8(char32_t c, char out[4]) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c >= 0xD800 && c <= 0xDFFF) return 0;
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  if (c > 0x10FFFF) return 0;
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

bool AppendUtf8(std::string& out, char32_t codePoint) {
  char bytes[4];
  int count = EncodeUtf8(codePoint, bytes);
  out.append(bytes, static_cast<std::size_t>(count));
  return count > 0;
}

}  // namespace qm::kernel
