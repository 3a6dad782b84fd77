// The DOS wildcard matcher: any pattern against any name, without a crash,
// with the rules a search relies on: "*" and "*.*" match every name, a
// pattern without wildcards matches exactly the names equal to it ignoring
// case, and a name always matches itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/NamePattern.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/Utf8.h"

using namespace qm::kernel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The pattern, a line end, the name.
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t cut = input.find('\n');
  std::string_view pattern = input.substr(0, cut);
  std::string_view name = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);

  // A search's pattern and a folder entry's name are at most MAX_PATH long;
  // longer ones only cost time (matching takes their product).
  if (pattern.size() > 260 || name.size() > 260) return 0;

  const bool matches = NamePattern(pattern).Matches(name);
  if (name.empty()) QM_FUZZ_CHECK(!matches);
  if (!name.empty() && (pattern == "*" || pattern == "*.*")) QM_FUZZ_CHECK(matches);
  const bool bothText = DecodeUtf8Strict(pattern).has_value() && DecodeUtf8Strict(name).has_value();
  if (bothText && !HasWildcards(pattern) && !name.empty() && !pattern.empty())
    QM_FUZZ_CHECK(matches == NamesEqualIgnoringCase(pattern, name));
  if (bothText && !name.empty() && !HasWildcards(name)) QM_FUZZ_CHECK(NamePattern(name).Matches(name));
  return 0;
}
