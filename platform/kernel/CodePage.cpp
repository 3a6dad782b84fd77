// UTF-8 <-> UTF-16. Both directions decode into code points first, so that
// counting (a zero-length output buffer) and converting share one path and
// can never disagree about the size.
#include "platform/kernel/CodePage.h"

#include <cstring>

#include "platform/kernel/LastError.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_UTF8; }

// Decodes one code point at text[i], advancing i. Ill-formed sequences (bad
// lead, truncated, overlong, surrogate, beyond U+10FFFF) give U+FFFD and
// consume the maximal ill-formed prefix, at least one byte; *valid is false.
char32_t DecodeUtf8(const unsigned char* text, std::size_t length, std::size_t& i, bool* valid) {
  unsigned char lead = text[i];
  *valid = true;
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int extra;
  char32_t cp;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    ++i;
    *valid = false;
    return kReplacement;
  }
  ++i;
  for (int k = 0; k < extra; ++k) {
    if (i >= length || text[i] < low || text[i] > high) {
      *valid = false;
      return kReplacement;
    }
    cp = (cp << 6) | (text[i] & 0x3F);
    ++i;
    low = 0x80;
    high = 0xBF;
  }
  return cp;
}

char32_t DecodeUtf16(const WCHAR* text, std::size_t length, std::size_t& i) {
  char16_t unit = text[i++];
  if (unit >= 0xD800 && unit <= 0xDBFF && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
    char32_t cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i] - 0xDC00);
    ++i;
    return cp;
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
  return unit;
}

int EncodeUtf16(char32_t cp, char16_t* out) {
  if (cp < 0x10000) {
    out[0] = static_cast<char16_t>(cp);
    return 1;
  }
  cp -= 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  return 2;
}

int EncodeUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

std::size_t WideLength(LPCWSTR wide) {
  std::size_t n = 0;
  while (wide[n] != 0) ++n;
  return n;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength) {
  if (!IsUtf8CodePage(codePage) || (flags & ~MB_ERR_INVALID_CHARS) != 0 || multiByte == nullptr ||
      multiByteLength == 0 || multiByteLength < -1 || wideLength < 0 || (wideLength > 0 && wide == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto text = reinterpret_cast<const unsigned char*>(multiByte);
  std::size_t length = multiByteLength == -1 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(multiByteLength);
  std::size_t written = 0;
  for (std::size_t i = 0; i < length;) {
    bool valid;
    char32_t cp = DecodeUtf8(text, length, i, &valid);
    if (!valid && (flags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
    char16_t units[2];
    int count = EncodeUtf16(cp, units);
    if (wideLength > 0) {
      if (written + count > static_cast<std::size_t>(wideLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      for (int k = 0; k < count; ++k) wide[written + k] = units[k];
    }
    written += count;
  }
  return static_cast<int>(written);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, BOOL* usedDefaultChar) {
  if (!IsUtf8CodePage(codePage) || flags != 0 || wide == nullptr || wideLength == 0 || wideLength < -1 ||
      multiByteLength < 0 || (multiByteLength > 0 && multiByte == nullptr) || defaultChar != nullptr ||
      usedDefaultChar != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = wideLength == -1 ? WideLength(wide) + 1 : static_cast<std::size_t>(wideLength);
  std::size_t written = 0;
  for (std::size_t i = 0; i < length;) {
    char bytes[4];
    int count = EncodeUtf8(DecodeUtf16(wide, length, i), bytes);
    if (multiByteLength > 0) {
      if (written + count > static_cast<std::size_t>(multiByteLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      std::memcpy(multiByte + written, bytes, count);
    }
    written += count;
  }
  return static_cast<int>(written);
}

namespace qm::kernel {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string result;
  auto bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    bool valid;
    char16_t units[2];
    int count = EncodeUtf16(DecodeUtf8(bytes, text.size(), i, &valid), units);
    result.append(units, count);
  }
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size();) {
    char bytes[4];
    int count = EncodeUtf8(DecodeUtf16(text.data(), text.size(), i), bytes);
    result.append(bytes, count);
  }
  return result;
}

}  // namespace qm::kernel
