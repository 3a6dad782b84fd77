// Key handles name a key by hive and path, not by a loaded copy: every call
// reads the store afresh and every write re-reads it under the lock, so
// values written meanwhile by another process are seen and kept.
#include "platform/registry/Registry.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/registry/HiveFile.h"

namespace {

using qm::registry::Hive;
using qm::registry::HiveId;
using qm::registry::RegistryKey;
using qm::registry::RegistryValue;

struct OpenKey {
  HiveId hive;
  std::string path;
  REGSAM access;
};

class KeyTable {
 public:
  HKEY Insert(OpenKey key) {
    std::lock_guard<std::mutex> guard(mutex);
    nextId += 4;
    keys.emplace(nextId, std::move(key));
    return reinterpret_cast<HKEY>(nextId);
  }
  bool Find(HKEY handle, OpenKey* key) {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (handle == HKEY_CURRENT_USER || handle == HKEY_LOCAL_MACHINE) {
      *key = {handle == HKEY_CURRENT_USER ? HiveId::CurrentUser : HiveId::LocalMachine, "", KEY_ALL_ACCESS};
      return true;
    }
    std::lock_guard<std::mutex> guard(mutex);
    auto it = keys.find(value);
    if (it == keys.end()) return false;
    *key = it->second;
    return true;
  }
  bool Remove(HKEY handle) {
    std::lock_guard<std::mutex> guard(mutex);
    return keys.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
  }

 private:
  std::mutex mutex;
  std::uintptr_t nextId = 0x1000;
  std::unordered_map<std::uintptr_t, OpenKey> keys;
};

KeyTable& Keys() {
  static KeyTable table;
  return table;
}

// Joins a subkey to its parent's path. A trailing backslash is tolerated;
// empty components (a leading or doubled backslash) are not, nor a key
// deeper than the store can hold.
bool JoinPath(const std::string& parent, LPCSTR subKey, std::string* path) {
  std::string sub = subKey ? subKey : "";
  if (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (!qm::registry::IsValidKeyPath(sub)) return false;
  *path = parent.empty() ? sub : sub.empty() ? parent : parent + "\\" + sub;
  return qm::registry::IsValidKeyPath(*path);
}

std::string ValueName(LPCSTR name) { return name ? name : ""; }

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  (void)options;
  if (!result) return ERROR_INVALID_PARAMETER;
  OpenKey parent;
  if (!Keys().Find(key, &parent)) return ERROR_INVALID_HANDLE;
  std::string path;
  if (!JoinPath(parent.path, subKey, &path)) return ERROR_BAD_PATHNAME;
  Hive hive("");
  LONG error = qm::registry::StoreOf(parent.hive).Read(&hive);
  if (error != ERROR_SUCCESS) return error;
  RegistryKey* found = hive.FindKey(path);
  if (!found) return ERROR_FILE_NOT_FOUND;
  *result = Keys().Insert({parent.hive, found->path, access});
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES securityAttributes, PHKEY result, LPDWORD disposition) {
  (void)keyClass;
  (void)securityAttributes;
  if (!result || !subKey || reserved != 0) return ERROR_INVALID_PARAMETER;
  // Volatile keys would have to vanish at the next restart; the store keeps
  // only what survives one.
  if (options != REG_OPTION_NON_VOLATILE) return ERROR_INVALID_PARAMETER;
  OpenKey parent;
  if (!Keys().Find(key, &parent)) return ERROR_INVALID_HANDLE;
  std::string path;
  if (!JoinPath(parent.path, subKey, &path)) return ERROR_BAD_PATHNAME;

  std::string storedPath;
  bool created = false;
  LONG error = qm::registry::StoreOf(parent.hive).Update([&](Hive& hive, bool* changed) -> LONG {
    if (RegistryKey* existing = hive.FindKey(path)) {
      storedPath = existing->path;
      return ERROR_SUCCESS;
    }
    if (!(parent.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    storedPath = hive.CreateKey(path, &created).path;
    *changed = true;
    return ERROR_SUCCESS;
  });
  if (error != ERROR_SUCCESS) return error;
  *result = Keys().Insert({parent.hive, storedPath, access});
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize) {
  if (reserved != 0 || (!data && dataSize != 0)) return ERROR_INVALID_PARAMETER;
  OpenKey open;
  if (!Keys().Find(key, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::string name = ValueName(valueName);
  std::vector<BYTE> bytes(data, data + dataSize);
  return qm::registry::StoreOf(open.hive).Update([&](Hive& hive, bool* changed) -> LONG {
    RegistryKey* target = hive.FindKey(open.path);
    if (!target) {
      if (!open.path.empty()) return ERROR_KEY_DELETED;
      target = &hive.CreateKey("");
    }
    if (RegistryValue* existing = target->FindValue(name)) {
      if (existing->type == type && existing->data == bytes) return ERROR_SUCCESS;
      existing->type = type;
      existing->data = std::move(bytes);
    } else {
      target->values.push_back({name, type, std::move(bytes)});
    }
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  if (reserved || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
  OpenKey open;
  if (!Keys().Find(key, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  Hive hive("");
  LONG error = qm::registry::StoreOf(open.hive).Read(&hive);
  if (error != ERROR_SUCCESS) return error;
  RegistryKey* found = hive.FindKey(open.path);
  if (!found) return open.path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
  RegistryValue* value = found->FindValue(ValueName(valueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  if (!dataSize) return ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(value->data.size());
  if (data) {
    if (*dataSize < needed) {
      *dataSize = needed;
      return ERROR_MORE_DATA;
    }
    if (needed) std::memcpy(data, value->data.data(), needed);
  }
  *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
  OpenKey open;
  if (!Keys().Find(key, &open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::string name = ValueName(valueName);
  return qm::registry::StoreOf(open.hive).Update([&](Hive& hive, bool* changed) -> LONG {
    RegistryKey* target = hive.FindKey(open.path);
    if (!target) return open.path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    auto& values = target->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (qm::registry::EqualsIgnoreCase(it->name, name)) {
        values.erase(it);
        *changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

LONG RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  return Keys().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
