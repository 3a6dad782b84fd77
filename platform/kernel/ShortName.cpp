#include "platform/kernel/ShortName.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <unordered_set>

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"

namespace qm::kernel {
namespace {

bool IsShortNameChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

// The characters of part as a short name holds them: upper case; spaces and
// dots gone; characters a short name cannot hold become "_".
std::string ShortNameChars(std::string_view part) {
  std::string out;
  auto chars = DecodeUtf8Strict(part);
  if (!chars) return out;
  for (char32_t c : *chars) {
    if (c == U' ' || c == U'.') continue;
    char ascii = c < 0x80 ? static_cast<char>(c) : '\0';
    if (ascii != '\0' && IsShortNameChar(ascii)) out.push_back(static_cast<char>(UpcaseNameChar(c)));
    else out.push_back('_');
  }
  return out;
}

struct Stem {
  std::string base;
  std::string extension;
};

Stem StemOf(std::string_view name) {
  while (!name.empty() && name.front() == '.') name.remove_prefix(1);
  Stem stem;
  // The extension follows the last dot that has something usable after it.
  size_t searchEnd = name.size();
  while (searchEnd > 0) {
    size_t dot = name.rfind('.', searchEnd - 1);
    if (dot == std::string_view::npos) break;
    std::string extension = ShortNameChars(name.substr(dot + 1));
    if (!extension.empty()) {
      stem.base = ShortNameChars(name.substr(0, dot));
      stem.extension = extension.substr(0, 3);
      break;
    }
    searchEnd = dot;
  }
  if (stem.extension.empty()) stem.base = ShortNameChars(name);
  if (stem.base.empty()) stem.base = "_";
  return stem;
}

std::string Compose(std::string_view base, const std::string& tail, const std::string& extension) {
  std::string name(base.substr(0, 8 - tail.size()));
  name += tail;
  if (!extension.empty()) name += "." + extension;
  return name;
}

std::uint16_t NameHash(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<std::uint16_t>(hash ^ (hash >> 16));
}

std::string Generate(std::string_view longName, const std::unordered_set<std::string>& taken) {
  Stem stem = StemOf(longName);
  for (int n = 1; n <= 4; ++n) {
    std::string candidate = Compose(stem.base.substr(0, 6), "~" + std::to_string(n), stem.extension);
    if (!taken.count(candidate)) return candidate;
  }
  // Past four collisions the base keeps two characters and a hash of the
  // long name, which spreads similar names apart.
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(NameHash(longName)));
  std::string hashed = stem.base.substr(0, 2) + hex;
  for (int n = 1;; ++n) {
    std::string candidate = Compose(hashed, "~" + std::to_string(n), stem.extension);
    if (!taken.count(candidate)) return candidate;
  }
}

}  // namespace

bool IsShortName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view extension = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
  if (dot != std::string_view::npos && extension.empty()) return false;
  return std::all_of(base.begin(), base.end(), IsShortNameChar) &&
         std::all_of(extension.begin(), extension.end(), IsShortNameChar);
}

std::vector<std::string> AssignShortNames(const std::vector<std::string>& longNames) {
  std::vector<std::string> shortNames(longNames.size());
  std::unordered_set<std::string> taken;
  std::vector<size_t> needing;
  for (size_t i = 0; i < longNames.size(); ++i) {
    // Every generated name holds a "~": only a legal name with one can be
    // in a generated name's way.
    if (IsShortName(longNames[i])) {
      if (longNames[i].find('~') != std::string::npos) taken.insert(UpcaseName(longNames[i]));
    } else if (longNames[i] != "." && longNames[i] != "..") {
      needing.push_back(i);
    }
  }
  std::sort(needing.begin(), needing.end(), [&](size_t a, size_t b) { return longNames[a] < longNames[b]; });
  for (size_t i : needing) {
    shortNames[i] = Generate(longNames[i], taken);
    taken.insert(shortNames[i]);
  }
  return shortNames;
}

}  // namespace qm::kernel
