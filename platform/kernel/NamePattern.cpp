#include "platform/kernel/NamePattern.h"

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"

namespace qm::kernel {

NamePattern::NamePattern(std::string_view pattern) {
  if (pattern == "*" || pattern == "*.*") {
    matchesAll = true;
    return;
  }
  std::u32string chars = DecodeUtf8Strict(pattern).value_or(std::u32string{});
  for (size_t i = 0; i < chars.size(); ++i) {
    char32_t c = chars[i];
    bool last = i + 1 == chars.size();
    if (c == U'?') {
      tokens.push_back({Kind::DosQm, 0});
    } else if (c == U'*') {
      tokens.push_back({Kind::Star, 0});
    } else if (c == U'.' && last && i > 0 && chars[i - 1] == U'*') {
      tokens.back().kind = Kind::DosStar;
    } else if (c == U'.' && !last && (chars[i + 1] == U'*' || chars[i + 1] == U'?')) {
      tokens.push_back({Kind::DosDot, 0});
    } else {
      tokens.push_back({Kind::Char, UpcaseNameChar(c)});
    }
  }
}

bool NamePattern::Matches(std::string_view name) const {
  if (name.empty()) return false;
  if (matchesAll) return true;
  if (tokens.empty()) return false;
  std::u32string chars;
  if (auto decoded = DecodeUtf8Strict(name)) chars = std::move(*decoded);
  else return false;
  const size_t n = chars.size();
  const size_t e = tokens.size();
  size_t lastDot = chars.rfind(U'.');

  // matched[t][i]: tokens from t on match the name from character i on.
  std::vector<std::vector<char>> matched(e + 1, std::vector<char>(n + 1, 0));
  matched[e][n] = 1;
  for (size_t t = e; t-- > 0;) {
    const Token& token = tokens[t];
    for (size_t i = n + 1; i-- > 0;) {
      bool atEnd = i == n;
      bool ok = false;
      switch (token.kind) {
        case Kind::Star:
          ok = matched[t + 1][i] || (!atEnd && matched[t][i + 1]);
          break;
        case Kind::DosStar:
          // Any run of characters that does not swallow the extension's dot.
          ok = matched[t + 1][i] || (!atEnd && i != lastDot && matched[t][i + 1]);
          break;
        case Kind::DosQm:
          ok = (atEnd || chars[i] == U'.') ? matched[t + 1][i] : matched[t + 1][i + 1];
          break;
        case Kind::DosDot:
          ok = atEnd ? matched[t + 1][i] : (chars[i] == U'.' && matched[t + 1][i + 1]);
          break;
        case Kind::Char:
          ok = !atEnd && UpcaseNameChar(chars[i]) == token.c && matched[t + 1][i + 1];
          break;
      }
      matched[t][i] = ok;
    }
  }
  return matched[0][0];
}

}  // namespace qm::kernel
