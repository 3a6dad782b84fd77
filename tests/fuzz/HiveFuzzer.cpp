// The registry store's text: any bytes are read or refused without a crash,
// and what is read survives a write: parse, write, parse again gives the
// same hive, and writing that gives the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/registry/HiveText.h"

using qm::registry::Hive;

namespace {

bool SameHive(const Hive& a, const Hive& b) {
  if (a.Keys().size() != b.Keys().size()) return false;
  auto left = a.Keys().begin();
  for (auto right = b.Keys().begin(); right != b.Keys().end(); ++left, ++right) {
    if (left->first != right->first || left->second.path != right->second.path) return false;
    const auto& x = left->second.values;
    const auto& y = right->second.values;
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x[i].name != y[i].name || x[i].type != y[i].type || x[i].data != y[i].data) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<Hive> first = qm::registry::ParseHive(text, "HKEY_CURRENT_USER");
  if (!first) return 0;
  for (const auto& [path, key] : first->Keys()) QM_FUZZ_CHECK(qm::registry::IsValidKeyPath(path));
  const std::string written = qm::registry::FormatHive(*first);
  std::string error;
  std::optional<Hive> second = qm::registry::ParseHive(written, "HKEY_CURRENT_USER", &error);
  QM_FUZZ_CHECK(second.has_value());
  QM_FUZZ_CHECK(SameHive(*first, *second));
  QM_FUZZ_CHECK(qm::registry::FormatHive(*second) == written);
  return 0;
}
