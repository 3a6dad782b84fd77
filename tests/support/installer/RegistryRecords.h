// What the installer keeps in the registry, read and written by the tests:
// its installation record under HKEY_CURRENT_USER\Software\ryk, and the
// installed DirectX version the setup library probes for.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry/Registry.h"

namespace qm::test {

// The record's value as the registry answers it, with its type and data size
// checked against a string with one terminating zero.
inline std::string QueryRecordValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char buffer[512] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "<missing>";
  EXPECT_EQ(type, REG_SZ) << name;
  EXPECT_EQ(size, std::string(buffer).size() + 1) << name;
  return buffer;
}

inline void SetRecordValue(const char* name, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

inline void RemoveRecordValue(const char* name) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ryk", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

// Records the installed DirectX before the settings probe for it; null
// records none, so the probe fails.
inline void RecordDirectXVersion(const char* version) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (version != nullptr)
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(std::strlen(version) + 1));
  else
    RegDeleteValueA(key, "Version");
  RegCloseKey(key);
}

}  // namespace qm::test
