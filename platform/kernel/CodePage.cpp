// UTF-8 <-> UTF-16. Both directions decode into code points first, so that
// counting (a zero-length output buffer) and converting share one path and
// can never disagree about the size. The UTF-8 side is the platform's codec.
#include "platform/kernel/CodePage.h"

#include <cstring>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Utf8.h"

namespace {

using qm::kernel::kReplacementCharacter;

bool IsUtf8CodePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_UTF8; }

char32_t DecodeUtf16(const WCHAR* text, std::size_t length, std::size_t& i) {
  char16_t unit = text[i++];
  if (unit >= 0xD800 && unit <= 0xDBFF && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
    char32_t cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i] - 0xDC00);
    ++i;
    return cp;
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacementCharacter;
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
  std::size_t length = multiByteLength == -1 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(multiByteLength);
  const std::string_view text(multiByte, length);
  std::size_t written = 0;
  for (std::size_t i = 0; i < length;) {
    qm::kernel::Utf8Char c = qm::kernel::DecodeUtf8Char(text, i);
    i += c.length;
    if (!c.wellFormed && (flags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
    char16_t units[2];
    int count = EncodeUtf16(c.codePoint, units);
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
    int count = qm::kernel::EncodeUtf8(DecodeUtf16(wide, length, i), bytes);
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
  for (std::size_t i = 0; i < text.size();) {
    Utf8Char c = DecodeUtf8Char(text, i);
    i += c.length;
    char16_t units[2];
    result.append(units, EncodeUtf16(c.codePoint, units));
  }
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size();) {
    char bytes[4];
    result.append(bytes, EncodeUtf8(DecodeUtf16(text.data(), text.size(), i), bytes));
  }
  return result;
}

namespace {

char16_t Utf16LeUnit(const unsigned char* bytes, std::size_t unit) {
  return static_cast<char16_t>(bytes[2 * unit] | (bytes[2 * unit + 1] << 8));
}

}  // namespace

std::string Utf16LeToUtf8(const unsigned char* bytes, std::size_t units) {
  std::u16string wide(units, u'\0');
  for (std::size_t i = 0; i < units; ++i) wide[i] = Utf16LeUnit(bytes, i);
  return Utf16ToUtf8(wide);
}

std::size_t FindUtf16LeZero(const unsigned char* bytes, std::size_t units) {
  std::size_t i = 0;
  while (i < units && Utf16LeUnit(bytes, i) != 0) ++i;
  return i;
}

}  // namespace qm::kernel
