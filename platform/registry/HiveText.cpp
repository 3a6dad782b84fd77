#include "platform/registry/HiveText.h"

#include <algorithm>
#include <cstdio>

#include "platform/kernel/CodePage.h"
#include "platform/registry/Registry.h"

namespace qm::registry {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The separator sorts before every other character so that "a\b" comes
// before "a b" and a subtree stays together.
unsigned char SortKey(char c) { return c == '\\' ? 0 : static_cast<unsigned char>(FoldCase(c)); }

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

// Parses the data after '='. Returns false for text that is no value.
bool ReadData(std::string_view text, RegistryValue* value, bool* isDeletion) {
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
    return ReadHexBytes(text.substr(close + 2), &value->data);
  }
  return false;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

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
    unsigned char ca = SortKey(a[i]), cb = SortKey(b[i]);
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

bool IsValidKeyPath(std::string_view path) {
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.empty() || part.size() > 255) return false;
    if (part.find_first_of("\r\n") != std::string_view::npos) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
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

RegistryKey& Hive::CreateKey(std::string_view path, bool* created) {
  // Ancestors first, keeping the case in which each was first written.
  std::string resolved;
  std::size_t start = 0;
  bool isNew = false;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view prefix = path.substr(0, end);
    auto it = keys.find(prefix);
    if (it == keys.end()) {
      std::string stored = resolved.empty() ? std::string(prefix.substr(start))
                                            : resolved + "\\" + std::string(prefix.substr(start));
      if (path.empty()) stored.clear();
      it = keys.emplace(stored, RegistryKey{stored, {}}).first;
      isNew = true;
    } else {
      isNew = false;
    }
    resolved = it->first;
    if (end == std::string_view::npos) {
      if (created) *created = isNew;
      return it->second;
    }
    start = end + 1;
  }
}

void Hive::DeleteTree(std::string_view path) {
  for (auto it = keys.begin(); it != keys.end();) {
    const std::string& key = it->first;
    bool inside = path.empty() || (key.size() >= path.size() && EqualsIgnoreCase(key.substr(0, path.size()), path) &&
                                   (key.size() == path.size() || key[path.size()] == '\\'));
    it = inside ? keys.erase(it) : std::next(it);
  }
}

std::string FormatHive(const Hive& hive) {
  std::string out = "REGEDIT4\r\n";
  for (const auto& [path, key] : hive.Keys()) {
    if (path.empty() && key.values.empty()) continue;
    out += "\r\n[";
    out += hive.RootName();
    if (!path.empty()) out += "\\" + path;
    out += "]\r\n";
    for (const RegistryValue& value : key.values) AppendValue(out, value);
  }
  out += "\r\n";
  return out;
}

std::optional<Hive> ParseHive(std::string_view text, const std::string& rootName, std::string* error) {
  auto fail = [&](std::size_t lineNumber, const std::string& why) -> std::optional<Hive> {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };

  std::string decoded;
  if (text.size() >= 2 && static_cast<BYTE>(text[0]) == 0xFF && static_cast<BYTE>(text[1]) == 0xFE) {
    if (text.size() % 2 != 0) return fail(1, "odd UTF-16 length");
    std::u16string wide;
    for (std::size_t i = 2; i + 1 < text.size(); i += 2)
      wide += static_cast<char16_t>(static_cast<BYTE>(text[i]) | (static_cast<BYTE>(text[i + 1]) << 8));
    decoded = qm::kernel::Utf16ToUtf8(wide);
    text = decoded;
  } else if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }

  std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty()) return fail(1, "empty file");
  std::string_view header = Trim(lines[0]);
  if (header != "REGEDIT4" && header != "Windows Registry Editor Version 5.00")
    return fail(1, "not a registry export header");

  Hive hive(rootName);
  RegistryKey* current = nullptr;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::size_t lineNumber = i + 1;
    std::string_view line = Trim(lines[i]);
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
        current = nullptr;
      } else {
        current = &hive.CreateKey(path);
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
      while (TakeContinuation(data) && i + 1 < lines.size()) data += Trim(lines[++i]);
    }
    bool isDeletion;
    if (!ReadData(data, &value, &isDeletion)) return fail(lineNumber, "unreadable value data");

    std::vector<RegistryValue>& values = current->values;
    auto existing = std::find_if(values.begin(), values.end(),
                                 [&](const RegistryValue& v) { return EqualsIgnoreCase(v.name, value.name); });
    if (isDeletion) {
      if (existing != values.end()) values.erase(existing);
    } else if (existing != values.end()) {
      existing->type = value.type;
      existing->data = std::move(value.data);
    } else {
      values.push_back(std::move(value));
    }
  }
  return hive;
}

}  // namespace qm::registry
