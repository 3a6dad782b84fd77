// Conversions between the narrow strings of the platform and UTF-16. The
// platform's system code page (CP_ACP) is UTF-8, so the installer's narrow
// strings carry any character a host file name can hold.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel/WinTypes.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// Returns the number of UTF-16 units written (or needed when wideLength is
// 0). multiByteLength -1 converts up to and including the terminating zero.
// Ill-formed input becomes U+FFFD, one for each maximal ill-formed
// subsequence (the codec's rule, platform/kernel/Utf8.h), unless
// MB_ERR_INVALID_CHARS is given: then the call fails.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength);

// Returns the number of bytes written (or needed when multiByteLength is 0).
// wideLength -1 converts up to and including the terminating zero. A lone
// surrogate becomes U+FFFD. defaultChar and usedDefaultChar must be null for
// UTF-8, as on the original platform.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, BOOL* usedDefaultChar);

namespace qm::kernel {
// Whole-string helpers for the platform's own use.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// `units` UTF-16 code units stored little-endian from `bytes` on, as files
// hold them (a registry export, a shell link), read as Utf16ToUtf8 reads
// them. Where the first code unit of value 0 is among `units`, or `units`
// when none is.
std::string Utf16LeToUtf8(const unsigned char* bytes, std::size_t units);
std::size_t FindUtf16LeZero(const unsigned char* bytes, std::size_t units);
}  // namespace qm::kernel
