// Parse time of user.reg stores of the shapes that once made a run freeze:
// many values in one key, many nested key lines, keys as deep as a store may
// go with values in each, and 100 MB of one line (refused). Each store is
// made in memory; the best of a few parses counts.
//
//   bench_HiveParseBench [REPEATS]     (default 3)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/registry/HiveText.h"

using qm::registry::kMaxKeyDepth;
using qm::registry::ParseHive;

namespace {

std::string KeyLine(const std::string& path) { return "\r\n[HKEY_CURRENT_USER\\" + path + "]\r\n"; }

std::string ManyValues(int values) {
  std::string text = "REGEDIT4\r\n" + KeyLine("Software\\Many");
  for (int i = 0; i < values; ++i) text += "\"value " + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
  return text;
}

std::string NestedKeyLines(int lines) {
  std::string text = "REGEDIT4\r\n";
  int made = 0;
  for (int chain = 0; made < lines; ++chain) {
    std::string path = "chain" + std::to_string(chain);
    text += KeyLine(path);
    for (std::size_t depth = 2; depth <= kMaxKeyDepth && made < lines; ++depth, ++made) {
      path += "\\k";
      text += KeyLine(path);
    }
  }
  return text;
}

// Chains of keys as deep as a store may go, as an export lists them, with
// values in every key: every value line finds its key's values.
std::string DeepKeysWithValues(int chains) {
  std::string text = "REGEDIT4\r\n";
  for (int chain = 0; chain < chains; ++chain) {
    std::string path = "chain" + std::to_string(chain);
    for (std::size_t depth = 1; depth <= kMaxKeyDepth; ++depth, path += "\\level") {
      text += KeyLine(path);
      for (int v = 0; v < 20; ++v) text += "\"v" + std::to_string(v) + "\"=dword:00000001\r\n";
    }
  }
  return text;
}

// Keys of the deepest level that each leave half their ancestors out:
// refused before the implied keys outgrow the text many times.
std::string DeepKeysWithoutAncestors(int keys) {
  std::string common = "Software";
  for (std::size_t depth = 2; depth < kMaxKeyDepth / 2; ++depth) common += "\\level";
  std::string text = "REGEDIT4\r\n" + KeyLine(common);
  for (int k = 0; k < keys; ++k) {
    std::string path = common + "\\branch" + std::to_string(k);
    for (std::size_t depth = kMaxKeyDepth / 2 + 1; depth < kMaxKeyDepth; ++depth) path += "\\level";
    text += KeyLine(path) + "@=dword:00000001\r\n";
  }
  return text;
}

double BestSeconds(int repeats, const std::function<bool()>& run) {
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    auto start = std::chrono::steady_clock::now();
    bool ok = run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() < best) best = elapsed.count();
    (void)ok;
  }
  return best;
}

void Measure(const char* what, const std::string& text, bool valid, int repeats) {
  bool result = false;
  double seconds = BestSeconds(repeats, [&] {
    result = ParseHive(text, "HKEY_CURRENT_USER").has_value();
    return result;
  });
  std::printf("%-40s %9.1f KB  %8.3f s  %s\n", what, static_cast<double>(text.size()) / 1024.0, seconds,
              result ? "read" : "refused");
  if (result != valid) {
    std::fprintf(stderr, "%s: expected the store to be %s\n", what, valid ? "read" : "refused");
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
  Measure("40,000 values in one key", ManyValues(40000), true, repeats);
  Measure("100,000 values in one key", ManyValues(100000), true, repeats);
  Measure("100,000 nested key lines", NestedKeyLines(100000), true, repeats);
  Measure("4 chains 512 deep, 20 values a key", DeepKeysWithValues(4), true, repeats);
  Measure("2,000 keys 512 deep, ancestors left out", DeepKeysWithoutAncestors(2000), false, repeats);
  std::string deep = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software";
  for (int i = 0; i < 100000; ++i) deep += "\\k";
  Measure("one key 100,000 levels deep", deep + "]\r\n", false, repeats);
  std::string line = "REGEDIT4\r\n" + KeyLine("Software");
  line.resize(100u << 20, '\0');
  Measure("100 MB of one line", line, false, repeats);
  return 0;
}
