// Case rules of names on a Windows volume: names are UTF-8 here, and two
// names are the same name when they agree after upper-casing each character.
// This is the platform's one upper-casing of UTF-8 text (file lookup, the
// order of a directory listing, short names, patterns); whatever else needs
// to upper-case or compare names blind to case uses it too.
//
// Bytes that are not UTF-8 (see platform/kernel/Utf8.h for how they are cut
// into ill-formed subsequences) have no case: UpcaseName keeps them as they
// stand, and in a comparison an ill-formed subsequence matches only the same
// bytes at the same place. So a name with such bytes equals itself in any
// case of its letters and never a name that is valid UTF-8, and
// NamesEqualIgnoringCase(a, b) is always UpcaseName(a) == UpcaseName(b).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::kernel {

// The upper-case form Windows compares by (Latin, Greek, Cyrillic letters).
// Every pair is encoded in UTF-8 in the same number of bytes.
char32_t UpcaseNameChar(char32_t c);

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
std::string UpcaseName(std::string_view name);
// A hash of UpcaseName(name), without building it: names that
// NamesEqualIgnoringCase calls equal hash alike.
std::size_t HashNameIgnoringCase(std::string_view name);
// The first eight bytes of UpcaseName(name) as a number that orders as
// they do (zeros past the end): names whose keys differ compare as the keys.
std::uint64_t UpcasePrefixKey(std::string_view name);

}  // namespace qm::kernel
