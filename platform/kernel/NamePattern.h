// Directory-search patterns with the DOS wildcard rules: "*.*" matches every
// name, "?" stops at a dot, "foo.*" also matches "foo", a trailing "*."
// matches names without an extension. Matching ignores case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::kernel {

class NamePattern {
 public:
  // The pattern as a program writes it; it is rewritten to the DOS
  // wildcards here, once.
  explicit NamePattern(std::string_view pattern);

  bool Matches(std::string_view name) const;

 private:
  enum class Kind : unsigned char { Char, Star, DosStar, DosQm, DosDot };
  struct Token {
    Kind kind;
    char32_t c;
  };
  std::vector<Token> tokens;
  bool matchesAll = false;
};

}  // namespace qm::kernel
