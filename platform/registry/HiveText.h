// One hive in memory, and its REGEDIT4 text. Pure: no files, no locks.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace qm::registry {

struct RegistryValue {
  std::string name;  // "" is the key's default value
  DWORD type = 0;
  std::vector<BYTE> data;
};

struct RegistryKey {
  std::string path;  // below the root, as first written; "" is the root
  std::vector<RegistryValue> values;

  RegistryValue* FindValue(std::string_view name);
};

// Orders key paths case-insensitively and component by component, so that a
// key comes right before its subkeys, as an export lists them.
struct KeyPathLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// How many levels a key may lie below its root: the depth Windows allows a
// registry tree. A store with a deeper key is refused like any unreadable one.
constexpr std::size_t kMaxKeyDepth = 512;

// A key path is valid when it has at most kMaxKeyDepth components, each
// non-empty, at most 255 characters (UTF-16 units), and free of line breaks
// (a key line could not hold them).
bool IsValidKeyPath(std::string_view path);

class Hive {
 public:
  using KeyMap = std::map<std::string, RegistryKey, KeyPathLess>;

  explicit Hive(std::string rootName) : rootName(std::move(rootName)) {}
  Hive(const Hive& other) : rootName(other.rootName), keys(other.keys) {}
  Hive(Hive&& other) noexcept : rootName(std::move(other.rootName)), keys(std::move(other.keys)) {}
  Hive& operator=(const Hive& other);
  Hive& operator=(Hive&& other) noexcept;

  const std::string& RootName() const { return rootName; }
  RegistryKey* FindKey(std::string_view path);
  // Creates the key and its missing ancestors; *created tells whether the
  // key itself is new. Keys created in the order an export lists them (as
  // a store's key lines are) are each found or placed next to the one
  // before, without a search: a store is resolved in time linear in its
  // text.
  RegistryKey& CreateKey(std::string_view path, bool* created = nullptr);
  // Removes the key and everything below it (a subtree is one run of the
  // ordered keys, so only what is removed is visited).
  void DeleteTree(std::string_view path);
  const KeyMap& Keys() const { return keys; }

 private:
  // The key of this path, or keys.end() with *next where it would go.
  KeyMap::iterator Locate(std::string_view path, KeyMap::iterator* next);

  std::string rootName;
  KeyMap keys;
  // The key created or found last (keys.end() when none), where the next
  // one is looked for first.
  KeyMap::iterator recent = keys.end();
};

// The REGEDIT4 export text: CRLF line ends, a blank line before each key,
// full root names, \ and " escaped in names and strings.
std::string FormatHive(const Hive& hive);

// Reads REGEDIT4 (or 8-bit and UTF-16 "Windows Registry Editor Version
// 5.00") text whose keys all lie under the hive's root. Unlike an import,
// a line that cannot be read fails the whole parse: the store must never be
// rewritten without it. *error names the first bad line. Takes time linear
// in the text, however many keys, values and levels it holds; a text whose
// key lines leave out more ancestors than its own size (plus 16 MB) could
// hold is refused.
std::optional<Hive> ParseHive(std::string_view text, const std::string& rootName, std::string* error = nullptr);

}  // namespace qm::registry
