#include "platform/kernel/PathRules.h"

#include <algorithm>
#include <array>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Utf8.h"

namespace qm::kernel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// What an ASCII character is to a name: most are allowed; the controls and
// <>:"| never are, nor the separators \ and / that end a name in a path;
// * and ? only where a pattern is taken.
enum class AsciiKind : unsigned char { Allowed, Forbidden, Wildcard, Separator };

constexpr auto kAsciiKinds = [] {
  std::array<AsciiKind, 0x80> kinds{};
  for (int c = 0; c < 0x20; ++c) kinds[c] = AsciiKind::Forbidden;
  for (char c : {'<', '>', ':', '"', '|'}) kinds[static_cast<unsigned char>(c)] = AsciiKind::Forbidden;
  for (char c : {'*', '?'}) kinds[static_cast<unsigned char>(c)] = AsciiKind::Wildcard;
  for (char c : {'\\', '/'}) kinds[static_cast<unsigned char>(c)] = AsciiKind::Separator;
  return kinds;
}();

bool HoldsOnlyNameChars(std::string_view part, bool wildcardsAllowed) {
  // Listings check every host name here, and every path is checked name by
  // name: a table answers for ASCII, and no decoded copy is made.
  for (std::size_t i = 0; i < part.size();) {
    const auto byte = static_cast<unsigned char>(part[i]);
    if (byte < 0x80) {
      const AsciiKind kind = kAsciiKinds[byte];
      if (kind != AsciiKind::Allowed && (kind != AsciiKind::Wildcard || !wildcardsAllowed)) return false;
      ++i;
      continue;
    }
    Utf8Char c = DecodeUtf8Char(part, i);
    if (!c.wellFormed) return false;
    i += c.length;
  }
  return true;
}

// Win32 drops trailing dots and spaces from a name: "dir." is "dir".
std::string_view TrimTrailingDotsAndSpaces(std::string_view part) {
  while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
  return part;
}

bool HasDrivePrefix(std::string_view text) {
  if (text.size() < 2 || text[1] != ':') return false;
  char letter = text[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace

ParsedPath ParseWindowsPath(std::string_view text) {
  ParsedPath result;
  if (!HasDrivePrefix(text)) {
    result.error = ERROR_PATH_NOT_FOUND;
    return result;
  }
  WindowsPath& path = result.path;
  path.drive = static_cast<char>(text[0] & ~0x20);
  std::string_view rest = text.substr(2);
  path.trailingSeparator = !rest.empty() && IsSeparator(rest.back());
  // At most one name per separator and one after the last: room for all
  // of them at once rather than growth name by name.
  path.components.reserve(std::count_if(rest.begin(), rest.end(), [](char c) { return IsSeparator(c); }) + 1);
  size_t start = 0;
  while (start <= rest.size()) {
    // A name runs to the next separator; whether it holds only what a name
    // may hold is seen on the same walk (its trailing dots and spaces,
    // dropped below, are allowed characters).
    size_t end = start;
    bool valid = true;
    while (end < rest.size()) {
      const auto byte = static_cast<unsigned char>(rest[end]);
      if (byte >= 0x80) {
        Utf8Char c = DecodeUtf8Char(rest, end);
        valid = valid && c.wellFormed;
        end += c.length;
        continue;
      }
      const AsciiKind kind = kAsciiKinds[byte];
      if (kind == AsciiKind::Separator) break;
      valid = valid && kind == AsciiKind::Allowed;
      ++end;
    }
    std::string_view part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!path.components.empty()) path.components.pop_back();
      continue;
    }
    std::string_view name = TrimTrailingDotsAndSpaces(part);
    if (name.empty() || !valid) {
      result.error = ERROR_INVALID_NAME;
      result.path = WindowsPath{};
      return result;
    }
    path.components.emplace_back(name);
  }
  return result;
}

std::string FormatWindowsPath(const WindowsPath& path) {
  std::string text{path.drive, ':', '\\'};
  for (size_t i = 0; i < path.components.size(); ++i) {
    if (i > 0) text += '\\';
    text += path.components[i];
  }
  return text;
}

bool IsWindowsName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  return HoldsOnlyNameChars(name, false);
}

bool HasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

SearchTarget SplitSearchPath(std::string_view text) {
  SearchTarget target;
  if (text.empty() || IsSeparator(text.back())) {
    target.error = ERROR_FILE_NOT_FOUND;
    return target;
  }
  size_t lastSeparator = text.find_last_of("\\/");
  size_t nameStart;
  if (lastSeparator != std::string_view::npos) {
    nameStart = lastSeparator + 1;
  } else if (HasDrivePrefix(text)) {
    nameStart = 2;
  } else {
    target.error = ERROR_PATH_NOT_FOUND;
    return target;
  }
  std::string_view name = text.substr(nameStart);
  if (name == "." || name == "..") {
    ParsedPath whole = ParseWindowsPath(text);
    if (whole.error != ERROR_SUCCESS) {
      target.error = whole.error;
      return target;
    }
    if (whole.path.components.empty()) {
      target.error = ERROR_FILE_NOT_FOUND;
      return target;
    }
    target.pattern = whole.path.components.back();
    whole.path.components.pop_back();
    target.directory = FormatWindowsPath(whole.path);
    return target;
  }
  if (!HasWildcards(name)) name = TrimTrailingDotsAndSpaces(name);
  if (name.empty()) {
    target.error = ERROR_FILE_NOT_FOUND;
    return target;
  }
  if (!HoldsOnlyNameChars(name, true)) {
    target.error = ERROR_INVALID_NAME;
    return target;
  }
  target.directory = std::string(text.substr(0, nameStart));
  target.pattern = std::string(name);
  return target;
}

}  // namespace qm::kernel
