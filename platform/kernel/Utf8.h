// The platform's one UTF-8 codec. Narrow strings are UTF-8 everywhere on the
// platform (it is the system code page), and every part that reads their
// bytes as characters decodes them here: the code-page conversions, name
// comparison, text drawing and measuring, the edit control's caret, keyboard
// text. So they all agree on where a character begins and ends, also for
// bytes that are not UTF-8 (a host name in Latin-1, a truncated copy).
//
// Ill-formed input: the bytes that cannot be decoded are split into maximal
// ill-formed subsequences, the practice the Unicode Standard recommends
// ("U+FFFD substitution of maximal subparts"). Such a subsequence is the
// longest start of a well-formed sequence found at that place (a lead byte
// and the continuation bytes it may take there), or else one byte. Each one
// counts as one character, U+FFFD, with wellFormed false; the byte after it
// starts the next character. Strict decoding (DecodeUtf8Strict,
// MultiByteToWideChar with MB_ERR_INVALID_CHARS) refuses the whole text
// instead. Examples, one U+FFFD for each group in brackets:
//   [C3] at the end, [E2 82] 41        truncated: one each, then 'A'
//   [80], [BF]                         a lone continuation byte
//   [C0][AF], [E0][80][AF]             overlong forms: byte by byte
//   [ED][A0][80]                       a surrogate encoded as UTF-8
//   [F4][90][80][80]                   beyond U+10FFFF
//   [C0], [C1], [F5] ... [FF]          bytes that never occur in UTF-8
// Decoding never changes a string's bytes: an edit control or a file name
// keeps what it was given, only its characters are read by this rule.
//
// Upper-casing and case-blind comparison of UTF-8 text: UpcaseName and
// NamesEqualIgnoringCase in platform/kernel/NameCase.h, built on this codec.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qm::kernel {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// One character of UTF-8 text.
struct Utf8Char {
  char32_t codePoint = 0;    // kReplacementCharacter when not well formed
  std::size_t length = 0;    // bytes it takes, 1 to 4
  bool wellFormed = false;
};

// The character that starts at byte `offset` (< text.size()), a character
// boundary.
Utf8Char DecodeUtf8Char(std::string_view text, std::size_t offset);

// Every character of the text, ill-formed ones as U+FFFD.
std::u32string DecodeUtf8(std::string_view text);
// The characters, or nothing when the text is not well-formed UTF-8.
std::optional<std::u32string> DecodeUtf8Strict(std::string_view text);
std::size_t CountUtf8Chars(std::string_view text);

// Character boundaries as byte offsets. The boundary at or before `offset`
// (text.size() when offset is past the end); the boundary before and the
// boundary after the character there. Each takes constant time: a character
// never starts more than three bytes before a byte it holds.
std::size_t Utf8BoundaryAtOrBefore(std::string_view text, std::size_t offset);
std::size_t PreviousUtf8Boundary(std::string_view text, std::size_t offset);
std::size_t NextUtf8Boundary(std::string_view text, std::size_t offset);

// The UTF-8 form of a Unicode scalar value, in 1 to 4 bytes; 0 bytes for a
// surrogate or a value above U+10FFFF, which have none.
int EncodeUtf8(char32_t codePoint, char out[4]);
// Appends it; false (and nothing appended) for a value without a UTF-8 form.
bool AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace qm::kernel
