#include "platform/registry/HiveText.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "platform/kernel/CodePage.h"
#include "platform/registry/Registry.h"

namespace qm::registry {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The separator sorts before every other character, a zero byte included,
// so that "a\b" comes before "a b", a subtree stays together, and no name
// compares equal to a path of two levels.
unsigned SortKey(char c) { return c == '\\' ? 0u : static_cast<unsigned char>(FoldCase(c)) + 1u; }

std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = FoldCase(c);
  return out;
}

// Whether key lies in the subtree of path: the key itself or one below it.
bool IsInSubtree(std::string_view key, std::string_view path) {
  return path.empty() || (key.size() >= path.size() && EqualsIgnoreCase(key.substr(0, path.size()), path) &&
                          (key.size() == path.size() || key[path.size()] == '\\'));
}

// Removes a subtree from a map ordered by KeyPathLess, where it is one run
// that starts at the subtree's root.
template <class Map>
void EraseSubtree(Map& map, std::string_view path) {
  if (path.empty()) {
    map.clear();
    return;
  }
  for (auto it = map.lower_bound(path); it != map.end() && IsInSubtree(it->first, path);) it = map.erase(it);
}

// The length of the deepest ancestor of path that is also key or one of its
// ancestors (0 when they share none), compared ignoring case.
std::size_t SharedAncestorLength(std::string_view key, std::string_view path) {
  std::size_t n = 0;
  while (n < key.size() && n < path.size() && FoldCase(key[n]) == FoldCase(path[n])) ++n;
  if (n == key.size() && n < path.size() && path[n] == '\\') return n;
  if (n == 0) return 0;
  std::size_t slash = path.rfind('\\', n - 1);
  return slash == std::string_view::npos ? 0 : slash;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool IsPrefixIgnoreCase(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && EqualsIgnoreCase(prefix, s.substr(0, prefix.size()));
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

// A REG_SZ can be written as a quoted string when it is text plus exactly
// one terminating zero and holds no line break; anything else keeps its exact
// bytes as hex(1).
bool IsPlainString(const std::vector<BYTE>& data) {
  if (data.empty() || data.back() != 0) return false;
  return std::none_of(data.begin(), data.end() - 1, [](BYTE b) { return b == 0 || b == '\r' || b == '\n'; });
}

void AppendHex(std::string& out, std::string_view prefix, const std::vector<BYTE>& data) {
  out += prefix;
  std::size_t lineLength = out.size() - (out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1);
  char digits[4];
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0 && lineLength + 3 > 79) {
      out += "\\\r\n  ";
      lineLength = 2;
    }
    std::snprintf(digits, sizeof digits, "%02x", data[i]);
    out += digits;
    lineLength += 2;
    if (i + 1 < data.size()) {
      out += ',';
      ++lineLength;
    }
  }
}

void AppendValue(std::string& out, const RegistryValue& value) {
  std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
  if (value.type == REG_SZ && IsPlainString(value.data)) {
    line += Quote(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
  } else if (value.type == REG_DWORD && value.data.size() == 4) {
    DWORD v = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) | (static_cast<DWORD>(value.data[3]) << 24);
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", v);
    line += digits;
  } else if (value.type == REG_BINARY) {
    AppendHex(line, "hex:", value.data);
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    AppendHex(line, prefix, value.data);
  }
  out += line;
  out += "\r\n";
}

// Reads a quoted string starting at text[0] == '"'; *rest is what follows
// the closing quote.
bool ReadQuoted(std::string_view text, std::string* result, std::string_view* rest) {
  result->clear();
  for (std::size_t i = 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      *rest = text.substr(i + 1);
      return true;
    }
    if (c == '\\' && i + 1 < text.size()) {
      char next = text[++i];
      switch (next) {
        case '\\': *result += '\\'; break;
        case '"': *result += '"'; break;
        case 'n': *result += '\n'; break;
        case 'r': *result += '\r'; break;
        default:
          // A lone backslash, as people type paths, stands for itself.
          *result += '\\';
          *result += next;
      }
      continue;
    }
    *result += c;
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = FoldCase(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ReadHexNumber(std::string_view text, std::size_t maxDigits, DWORD* value) {
  if (text.empty() || text.size() > maxDigits) return false;
  *value = 0;
  for (char c : text) {
    int d = HexDigit(c);
    if (d < 0) return false;
    *value = (*value << 4) | static_cast<DWORD>(d);
  }
  return true;
}

bool ReadHexBytes(std::string_view text, std::vector<BYTE>* bytes) {
  bytes->clear();
  text = Trim(text);
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string_view item = Trim(text.substr(0, comma));
    DWORD byte;
    if (!ReadHexNumber(item, 2, &byte)) return false;
    bytes->push_back(static_cast<BYTE>(byte));
    if (comma == std::string_view::npos) break;
    text = TrimLeft(text.substr(comma + 1));
  }
  return true;
}

// The hex(1), hex(2) and hex(7) bytes of a "Windows Registry Editor
// Version 5.00" text are UTF-16LE, where the store keeps the platform's
// narrow text (REGEDIT4 writes them so): kept as they stand, every query
// would read a zero after each letter, and the store written back would
// hold them so for good. They become UTF-8 as a query through the narrow
// calls turns them (a lone surrogate into U+FFFD); an odd count of bytes is
// no UTF-16 and stays as it is.
void NarrowWideStringData(RegistryValue* value) {
  if (value->type != REG_SZ && value->type != REG_EXPAND_SZ && value->type != REG_MULTI_SZ) return;
  if (value->data.size() % 2 != 0) return;
  const std::string narrow = qm::kernel::Utf16LeToUtf8(value->data.data(), value->data.size() / 2);
  value->data.assign(narrow.begin(), narrow.end());
}

// Parses the data after '='. Returns false for text that is no value.
// `wideStrings`: the text is a version 5.00 export (NarrowWideStringData).
bool ReadData(std::string_view text, bool wideStrings, RegistryValue* value, bool* isDeletion) {
  *isDeletion = false;
  text = Trim(text);
  if (text == "-") {
    *isDeletion = true;
    return true;
  }
  if (!text.empty() && text.front() == '"') {
    std::string s;
    std::string_view rest;
    if (!ReadQuoted(text, &s, &rest) || !Trim(rest).empty()) return false;
    value->type = REG_SZ;
    value->data.assign(s.begin(), s.end());
    value->data.push_back(0);
    return true;
  }
  if (IsPrefixIgnoreCase("dword:", text)) {
    DWORD v;
    if (!ReadHexNumber(text.substr(6), 8, &v)) return false;
    value->type = REG_DWORD;
    value->data = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                   static_cast<BYTE>(v >> 24)};
    return true;
  }
  if (IsPrefixIgnoreCase("hex:", text)) {
    value->type = REG_BINARY;
    return ReadHexBytes(text.substr(4), &value->data);
  }
  if (IsPrefixIgnoreCase("hex(", text)) {
    std::size_t close = text.find("):");
    if (close == std::string_view::npos || !ReadHexNumber(text.substr(4, close - 4), 8, &value->type)) return false;
    if (!ReadHexBytes(text.substr(close + 2), &value->data)) return false;
    if (wideStrings) NarrowWideStringData(value);
    return true;
  }
  return false;
}

// The lines of a text one at a time (CR, LF and CRLF all end one), so that
// a text of many short lines never needs a table of them.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text(text) {}
  bool Next(std::string_view* line) {
    if (pos >= text.size()) return false;
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    *line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
    ++number;
    return true;
  }
  std::size_t Number() const { return number; }

 private:
  std::string_view text;
  std::size_t pos = 0;
  std::size_t number = 0;
};

// Hex data continues on the next line after a trailing backslash, which
// may be followed by a comment.
bool TakeContinuation(std::string& data) {
  std::size_t slash = data.rfind('\\');
  if (slash == std::string::npos) return false;
  std::string_view after = Trim(std::string_view(data).substr(slash + 1));
  if (!after.empty() && after.front() != ';') return false;
  data.erase(slash);
  return true;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool KeyPathLess::operator()(std::string_view a, std::string_view b) const {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned ca = SortKey(a[i]), cb = SortKey(b[i]);
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

bool IsValidKeyPath(std::string_view path) {
  if (path.empty()) return true;
  std::size_t start = 0;
  for (std::size_t depth = 1; depth <= kMaxKeyDepth; ++depth) {
    std::size_t end = path.find('\\', start);
    std::string_view part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // 255 characters as Windows counts them, in UTF-16: "ä" is two bytes
    // here and one character there.
    if (part.empty() || (part.size() > 255 && qm::kernel::Utf8ToUtf16(part).size() > 255)) return false;
    if (part.find_first_of("\r\n") != std::string_view::npos) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
  return false;
}

RegistryValue* RegistryKey::FindValue(std::string_view name) {
  for (RegistryValue& value : values)
    if (EqualsIgnoreCase(value.name, name)) return &value;
  return nullptr;
}

RegistryKey* Hive::FindKey(std::string_view path) {
  auto it = keys.find(path);
  return it == keys.end() ? nullptr : &it->second;
}

Hive& Hive::operator=(const Hive& other) {
  rootName = other.rootName;
  keys = other.keys;
  recent = keys.end();
  return *this;
}

Hive& Hive::operator=(Hive&& other) noexcept {
  rootName = std::move(other.rootName);
  keys = std::move(other.keys);
  recent = keys.end();
  return *this;
}

Hive::KeyMap::iterator Hive::Locate(std::string_view path, KeyMap::iterator* next) {
  const KeyPathLess less;
  if (recent != keys.end() && !less(path, recent->first)) {
    if (!less(recent->first, path)) return recent;
    auto after = std::next(recent);
    if (after == keys.end() || less(path, after->first)) {
      *next = after;
      return keys.end();
    }
    if (!less(after->first, path)) return after;
  }
  auto it = keys.lower_bound(path);
  if (it != keys.end() && !less(path, it->first)) return it;
  *next = it;
  return keys.end();
}

RegistryKey& Hive::CreateKey(std::string_view path, bool* created) {
  KeyMap::iterator next;
  auto it = Locate(path, &next);
  if (created) *created = it == keys.end();
  if (it != keys.end()) return (recent = it)->second;
  if (path.empty()) return (recent = keys.emplace_hint(next, "", RegistryKey{"", {}}))->second;

  // The deepest ancestor that exists. Every key's ancestors exist (a key
  // is only created with them, and a deletion takes a whole subtree), so
  // it is the deepest one this path shares with the key that would come
  // right before it: one comparison, not a lookup for each level.
  std::string resolved;
  std::size_t start = 0;
  if (next != keys.begin()) {
    const std::string& before = std::prev(next)->first;
    std::size_t shared = SharedAncestorLength(before, path);
    if (shared > 0) {
      resolved = before.substr(0, shared);
      start = shared + 1;
    }
  }
  // The missing ones below it, each in the case written here (the
  // ancestors that exist keep the case in which they were first written).
  // A missing key has no subkeys, so they all go where the key itself
  // would go, one after the other.
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!resolved.empty() || start > 0) resolved += '\\';
    resolved += part;
    it = keys.emplace_hint(next, resolved, RegistryKey{resolved, {}});
    next = std::next(it);
    if (end == std::string_view::npos) return (recent = it)->second;
    start = end + 1;
  }
}

void Hive::DeleteTree(std::string_view path) {
  recent = keys.end();
  EraseSubtree(keys, path);
}

std::string FormatHive(const Hive& hive) {
  std::string out = "REGEDIT4\r\n";
  // The root's own line only when the hive holds the root as a key (it got
  // a value once, or a line of its own), so that reading back gives the
  // same keys.
  for (const auto& [path, key] : hive.Keys()) {
    out += "\r\n[";
    out += hive.RootName();
    if (!path.empty()) out += "\\" + path;
    out += "]\r\n";
    for (const RegistryValue& value : key.values) AppendValue(out, value);
  }
  out += "\r\n";
  return out;
}

namespace {

// Where the parse keeps each key's values by name, so that a value line
// finds the value it replaces or removes without scanning the key. A key
// line resolves its key's entry once, and the value lines below it use
// that entry. A removed value is only marked, and the marked ones leave
// their keys at the end of the parse, so a key with many removals is not
// shifted for each.
class ValueIndex {
 public:
  struct KeyValues {
    // The slot of the value with this folded name, or nullptr.
    std::size_t* Find(const std::string& foldedName) {
      auto slot = positions.find(foldedName);
      return slot == positions.end() ? nullptr : &slot->second;
    }
    void Add(std::string foldedName, std::size_t position) { positions[std::move(foldedName)] = position; }
    void Remove(const std::string& foldedName) {
      auto slot = positions.find(foldedName);
      removed.push_back(slot->second);
      positions.erase(slot);
    }

    std::unordered_map<std::string, std::size_t> positions;
    std::vector<std::size_t> removed;
  };

  // The entry of the key at this path (the map keeps it where it is until
  // the key's subtree is removed).
  KeyValues& For(const std::string& keyPath) { return keys[keyPath]; }
  void RemoveSubtree(std::string_view path) { EraseSubtree(keys, path); }
  // Takes the marked values out of their keys, keeping the others' order.
  void Compact(Hive& hive) {
    for (auto& [path, key] : keys) {
      if (key.removed.empty()) continue;
      std::vector<RegistryValue>& values = hive.FindKey(path)->values;
      std::vector<char> gone(values.size(), 0);
      for (std::size_t position : key.removed) gone[position] = 1;
      std::size_t kept = 0;
      for (std::size_t i = 0; i < values.size(); ++i) {
        if (gone[i]) continue;
        if (kept != i) values[kept] = std::move(values[i]);
        ++kept;
      }
      values.resize(kept);
    }
  }

 private:
  std::map<std::string, KeyValues, KeyPathLess> keys;
};

}  // namespace

namespace {

// Room for the ancestors a hand-written store leaves out, beyond its size.
constexpr std::size_t kImpliedKeyAllowance = 16u << 20;

}  // namespace

std::optional<Hive> ParseHive(std::string_view text, const std::string& rootName, std::string* error) {
  auto fail = [&](std::size_t lineNumber, const std::string& why) -> std::optional<Hive> {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };

  std::string decoded;
  if (text.size() >= 2 && static_cast<BYTE>(text[0]) == 0xFF && static_cast<BYTE>(text[1]) == 0xFE) {
    if (text.size() % 2 != 0) return fail(1, "odd UTF-16 length");
    decoded = qm::kernel::Utf16LeToUtf8(reinterpret_cast<const unsigned char*>(text.data()) + 2, text.size() / 2 - 1);
    text = decoded;
  } else if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }

  LineReader lines(text);
  std::string_view line;
  if (!lines.Next(&line)) return fail(1, "empty file");
  std::string_view header = Trim(line);
  const bool wideStrings = header == "Windows Registry Editor Version 5.00";
  if (header != "REGEDIT4" && !wideStrings) return fail(1, "not a registry export header");

  Hive hive(rootName);
  ValueIndex index;
  // A key line brings its missing ancestors along, each with its whole
  // path, so deep keys that name none of theirs would make keys (and a store
  // written back) many times the text's size. An export names every key;
  // what a text leaves to be implied is bounded by its own size.
  std::size_t impliedRoom = text.size() + kImpliedKeyAllowance;
  RegistryKey* current = nullptr;
  ValueIndex::KeyValues* currentIndex = nullptr;
  while (lines.Next(&line)) {
    std::size_t lineNumber = lines.Number();
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;

    if (line.front() == '[') {
      if (line.back() != ']') return fail(lineNumber, "key line without ]");
      std::string_view name = line.substr(1, line.size() - 2);
      bool deletion = !name.empty() && name.front() == '-';
      if (deletion) name.remove_prefix(1);
      if (!IsPrefixIgnoreCase(rootName, name) || (name.size() > rootName.size() && name[rootName.size()] != '\\'))
        return fail(lineNumber, "key outside " + rootName);
      std::string_view path = name.size() > rootName.size() ? name.substr(rootName.size() + 1) : std::string_view();
      if (!IsValidKeyPath(path)) return fail(lineNumber, "bad key path");
      if (deletion) {
        hive.DeleteTree(path);
        index.RemoveSubtree(path);
        current = nullptr;
        currentIndex = nullptr;
      } else {
        const std::size_t keysBefore = hive.Keys().size();
        current = &hive.CreateKey(path);
        currentIndex = &index.For(current->path);
        // Each ancestor the line brings along costs at most its own path.
        const std::size_t implied = hive.Keys().size() - keysBefore;
        if (implied > 1) {
          const std::size_t cost = (implied - 1) * (path.size() + 1);
          if (cost > impliedRoom) return fail(lineNumber, "too many keys without a line of their own");
          impliedRoom -= cost;
        }
      }
      continue;
    }

    if (line.front() != '"' && line.front() != '@') return fail(lineNumber, "neither key nor value");
    if (!current) return fail(lineNumber, "value outside a key");

    RegistryValue value;
    std::string_view rest;
    if (line.front() == '@') {
      rest = line.substr(1);
    } else if (!ReadQuoted(line, &value.name, &rest)) {
      return fail(lineNumber, "unterminated value name");
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') return fail(lineNumber, "value without =");
    std::string data(Trim(rest.substr(1)));
    if (IsPrefixIgnoreCase("hex", data)) {
      std::string_view next;
      while (TakeContinuation(data) && lines.Next(&next)) data += Trim(next);
    }
    bool isDeletion;
    if (!ReadData(data, wideStrings, &value, &isDeletion)) return fail(lineNumber, "unreadable value data");

    std::vector<RegistryValue>& values = current->values;
    std::string folded = Folded(value.name);
    std::size_t* existing = currentIndex->Find(folded);
    if (isDeletion) {
      if (existing) currentIndex->Remove(folded);
    } else if (existing) {
      values[*existing].type = value.type;
      values[*existing].data = std::move(value.data);
    } else {
      currentIndex->Add(std::move(folded), values.size());
      values.push_back(std::move(value));
    }
  }
  index.Compact(hive);
  return hive;
}

}  // namespace qm::registry
