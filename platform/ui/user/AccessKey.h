// Access keys, marked in control and menu texts with '&': "&Next" is
// pressed with N, "&&" is a plain ampersand.
#pragma once

#include <string>

namespace qm::ui::user {

// The character after the first single '&', upper-cased as names are (so
// both "ü" and "Ü" press "&Über"); 0 when none. Bytes there that are not
// UTF-8 make no key: no key press types them.
char32_t AccessKeyOf(const std::string& text);

}  // namespace qm::ui::user
