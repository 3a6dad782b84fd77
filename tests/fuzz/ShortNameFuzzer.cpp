// 8.3 short names of one folder: whatever the long names, each one that
// needs a short name gets a legal 8.3 name, no two entries share a short
// name (nor a short name and a long name that already is one), and the
// names do not depend on the order in which the folder lists its entries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/ShortName.h"

using namespace qm::kernel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One long name a line; a folder holds no two names equal ignoring case.
  std::vector<std::string> names;
  std::set<std::string> seen;
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    std::string name = input.substr(start, end - start);
    if (!name.empty() && seen.insert(UpcaseName(name)).second) names.push_back(name);
    start = end + 1;
  }

  std::vector<std::string> shortNames = AssignShortNames(names);
  QM_FUZZ_CHECK(shortNames.size() == names.size());
  std::set<std::string> taken;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name == "." || name == ".." || IsShortName(name)) {
      QM_FUZZ_CHECK(shortNames[i].empty());
      if (IsShortName(name)) QM_FUZZ_CHECK(taken.insert(UpcaseName(name)).second);
      continue;
    }
    QM_FUZZ_CHECK(IsShortName(shortNames[i]));
    QM_FUZZ_CHECK(shortNames[i].find('~') != std::string::npos);
    QM_FUZZ_CHECK(UpcaseName(shortNames[i]) == shortNames[i]);
    QM_FUZZ_CHECK(taken.insert(shortNames[i]).second);
  }

  std::map<std::string, std::string> forward;
  for (std::size_t i = 0; i < names.size(); ++i) forward[names[i]] = shortNames[i];
  std::vector<std::string> reversed(names.rbegin(), names.rend());
  std::vector<std::string> reversedShort = AssignShortNames(reversed);
  for (std::size_t i = 0; i < reversed.size(); ++i) QM_FUZZ_CHECK(forward[reversed[i]] == reversedShort[i]);
  return 0;
}
