// Case rules of names on a Windows volume: names are UTF-8 here, and two
// names are the same name when they agree after upper-casing each character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::kernel {

// The code points of a UTF-8 name; nothing when the bytes are not UTF-8.
std::optional<std::u32string> DecodeNameUtf8(std::string_view name);
std::string EncodeNameUtf8(std::u32string_view name);

// The upper-case form Windows compares by (Latin, Greek, Cyrillic letters).
char32_t UpcaseNameChar(char32_t c);

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
std::string UpcaseName(std::string_view name);

}  // namespace qm::kernel
