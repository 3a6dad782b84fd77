#include "platform/kernel/PathRules.h"

#include <algorithm>
#include <array>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Utf8.h"

namespace qm::kernel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// What an ASCII character is to a name: most are allowed; the controls,
// <>:"| and the separators \ and / never are; * and ? only where a
// pattern is taken.
enum class AsciiKind : unsigned char { Allowed, Forbidden, Wildcard };

constexpr auto kAsciiKinds = [] {
  std::array<AsciiKind, 0x80> kinds{};
  for (int c = 0; c < 0x20; ++c) kinds[c] = AsciiKind::Forbidden;
  for (char c : {'<', '>', ':', '"', '|', '\\', '/'}) kinds[static_cast<unsigned char>(c)] = AsciiKind::Forbidden;
  for (char c : {'*', '?'}) kinds[static_cast<unsigned char>(c)] = AsciiKind::Wildcard;
  return kinds;
}();

// One name of `text` from `from` on: where it ends (the next separator, or
// the end of the text) and whether it holds only what a name may hold.
// Every path is cut and checked on this one walk, name by name, and every
// host name a listing meets is checked on it: a table answers for ASCII,
// and no decoded copy is made.
struct NameWalk {
  std::size_t end;
  bool valid;
};

// Inlined where it is called: the path parser calls it for every name it
// reads, and the names of every listing are checked on it.
[[gnu::always_inline]] inline NameWalk WalkName(std::string_view text, std::size_t from, bool wildcardsAllowed) {
  NameWalk walk{from, true};
  while (walk.end < text.size()) {
    const auto byte = static_cast<unsigned char>(text[walk.end]);
    if (byte >= 0x80) {
      Utf8Char c = DecodeUtf8Char(text, walk.end);
      walk.valid = walk.valid && c.wellFormed;
      walk.end += c.length;
      continue;
    }
    if (IsSeparator(static_cast<char>(byte))) break;
    const AsciiKind kind = kAsciiKinds[byte];
    walk.valid = walk.valid && (kind == AsciiKind::Allowed || (kind == AsciiKind::Wildcard && wildcardsAllowed));
    ++walk.end;
  }
  return walk;
}

bool HoldsOnlyNameChars(std::string_view part, bool wildcardsAllowed) {
  const NameWalk walk = WalkName(part, 0, wildcardsAllowed);
  return walk.valid && walk.end == part.size();
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

// One name of a path read onto the names before it: an empty name and "."
// add nothing, ".." takes the last name back (at the root it stays there),
// any other is added without its trailing dots and spaces. False for a
// name a path cannot hold; `valid` is the name walk's answer for it, whose
// trailing dots and spaces are allowed characters.
bool ReadName(std::string_view part, bool valid, WindowsPath& path) {
  if (part.empty() || part == ".") return true;
  if (part == "..") {
    if (!path.components.empty()) path.components.pop_back();
    return true;
  }
  const std::string_view name = TrimTrailingDotsAndSpaces(part);
  if (name.empty() || !valid) return false;
  path.components.emplace_back(name);
  return true;
}

// The whole of a path, name by name.
ParsedPath ParseFully(std::string_view text) {
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
    const NameWalk walk = WalkName(rest, start, false);
    const std::string_view part = rest.substr(start, walk.end - start);
    start = walk.end + 1;
    if (!ReadName(part, walk.valid, path)) {
      result.error = ERROR_INVALID_NAME;
      result.path = WindowsPath{};
      return result;
    }
  }
  return result;
}

// A folder read lately on this thread: its text up to and including its
// last separator, and what ParseFully read there.
struct ReadFolder {
  std::string text;
  WindowsPath path;
};

}  // namespace

// A copy names every file by its folder and the file's name, once on each
// side: the last two folders read are kept, so each folder is read once and
// each file's path costs the reading of its last name. Reading a path is a
// fold of ReadName over its names from the left, so the folder's names and
// then its last name read onto them are the whole path read at once.
ParsedPath ParseWindowsPath(std::string_view text) {
  std::size_t nameStart = text.size();
  while (nameStart > 0 && !IsSeparator(text[nameStart - 1])) --nameStart;
  // A path ending in a separator is read whole, for the separator it ends in.
  if (!HasDrivePrefix(text) || nameStart == 0 || nameStart == text.size()) return ParseFully(text);
  const std::string_view folderText = text.substr(0, nameStart);
  const std::string_view name = text.substr(nameStart);

  thread_local std::array<ReadFolder, 2> recent;
  thread_local std::size_t oldest = 0;
  ReadFolder* folder = nullptr;
  for (ReadFolder& read : recent)
    if (read.text == folderText) folder = &read;
  if (!folder) {
    ParsedPath read = ParseFully(folderText);
    if (read.error != ERROR_SUCCESS) return read;
    folder = &recent[oldest];
    oldest = 1 - oldest;
    folder->text.assign(folderText);
    folder->path = std::move(read.path);
  }

  ParsedPath result;
  result.path.drive = folder->path.drive;
  result.path.components.reserve(folder->path.components.size() + 1);
  result.path.components.assign(folder->path.components.begin(), folder->path.components.end());
  if (!ReadName(name, WalkName(name, 0, false).valid, result.path)) {
    result.error = ERROR_INVALID_NAME;
    result.path = WindowsPath{};
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
