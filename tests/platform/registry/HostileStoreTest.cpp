// A user.reg that no registry call wrote, as a broken disk, another tool or
// a person may leave it: each is refused with ERROR_BADDB and left byte for
// byte, or, where it is a valid store, read and written like any other.
// Every store is made here, in the test's own prefix; none takes more than
// one pass over its text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/kernel/Prefix.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

namespace {

std::string StorePath() { return qm::kernel::PrefixRoot() + "/user.reg"; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(std::filesystem::file_size(path), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

const std::string kStart = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n";

struct HostileStore {
  const char* name;
  bool valid;
  // Writes the store at path.
  void (*make)(const std::string& path);
};

const HostileStore kStores[] = {
    {"Truncated", false,
     [](const std::string& path) {
       WriteText(path, kStart + "[HKEY_CURRENT_USER\\Software\\ryk]\r\n\"destinationPath\"=\"C:\\\\Ga");
     }},
    {"Binary", false,
     [](const std::string& path) {
       std::string bytes = "\x7F" "ELF\x02\x01\x01";
       for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131) & 0xFF);
       WriteText(path, bytes);
     }},
    // 100 MB after a good start, all one line of zero bytes (stored sparse).
    {"HundredMegabytesOfOneLine", false,
     [](const std::string& path) {
       WriteText(path, kStart);
       std::filesystem::resize_file(path, 100u << 20);
     }},
    {"HundredThousandNestedKeys", false,
     [](const std::string& path) {
       std::string key = "[HKEY_CURRENT_USER\\Software";
       for (int i = 0; i < 100000; ++i) key += "\\k";
       WriteText(path, kStart + key + "]\r\n");
     }},
    // Each key line brings 255 ancestors of about a kilobyte each along.
    {"DeepKeysLeavingOutTheirAncestors", false,
     [](const std::string& path) {
       std::string common = "[HKEY_CURRENT_USER\\Software";
       for (int i = 1; i < 256; ++i) common += "\\level";
       std::string text = kStart + common + "]\r\n";
       for (int k = 0; k < 300; ++k) {
         std::string key = common + "\\branch" + std::to_string(k);
         for (int i = 0; i < 255; ++i) key += "\\level";
         text += "\r\n" + key + "]\r\n@=dword:00000001\r\n";
       }
       WriteText(path, text);
     }},
    {"HundredThousandValuesInOneKey", true,
     [](const std::string& path) {
       std::string text = kStart + "[HKEY_CURRENT_USER\\Software\\Many]\r\n";
       for (int i = 0; i < 100000; ++i) text += "\"v" + std::to_string(i) + "\"=dword:0000002a\r\n";
       WriteText(path, text + "\r\n");
     }},
    // Nothing to keep: a store like a new one.
    {"Empty", true, [](const std::string& path) { WriteText(path, ""); }},
    // 255 characters, as Windows counts a key's name, in 510 bytes.
    {"KeyNameOf255CharactersBeyondAsManyBytes", true,
     [](const std::string& path) {
       std::string name;
       for (int i = 0; i < 255; ++i) name += "\xC3\xA4";
       WriteText(path, kStart + "[HKEY_CURRENT_USER\\Software\\" + name + "]\r\n\"kept\"=\"yes\"\r\n\r\n");
     }},
    {"KeyNameOf256Characters", false,
     [](const std::string& path) {
       std::string name;
       for (int i = 0; i < 128; ++i) name += "\xF0\x9F\x8C\xB2";  // each two UTF-16 units
       WriteText(path, kStart + "[HKEY_CURRENT_USER\\Software\\" + name + "]\r\n\r\n");
     }},
    {"KeyNamedDotDot", true,
     [](const std::string& path) {
       WriteText(path, kStart + "[HKEY_CURRENT_USER\\Software\\..]\r\n\r\n[HKEY_CURRENT_USER\\Software\\..\\ryk]\r\n"
                                "\"kept\"=\"yes\"\r\n\r\n");
     }},
};

class HostileStoreTest : public testing::TestWithParam<HostileStore> {};

LONG WriteRecordValue(HKEY software) {
  HKEY ryk = nullptr;
  LONG result = RegCreateKeyExA(software, "ryk", 0, nullptr, 0, KEY_WRITE, nullptr, &ryk, nullptr);
  if (result != ERROR_SUCCESS) return result;
  const char value[] = "C:\\Games\\Quellmoor";
  result = RegSetValueExA(ryk, "destinationPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  RegCloseKey(ryk);
  return result;
}

}  // namespace

TEST_P(HostileStoreTest, IsRefusedAndLeftAsItWasOrReadWhereValid) {
  const HostileStore& store = GetParam();
  store.make(StorePath());
  const std::string before = ReadText(StorePath());

  HKEY software = nullptr;
  LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &software);
  if (!store.valid) {
    // Reading and writing alike: every call reads the store afresh.
    EXPECT_EQ(opened, ERROR_BADDB);
    const char value[] = "x";
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "top", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value),
              ERROR_BADDB);
    EXPECT_TRUE(ReadText(StorePath()) == before) << "the store was changed";
    // Nothing beside it either: no temporary copy, no second store.
    for (const auto& entry : std::filesystem::directory_iterator(qm::kernel::PrefixRoot())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "user.reg" || name == "user.reg.lock" || name.rfind("user.reg", 0) != 0) << name;
    }
    return;
  }
  ASSERT_EQ(opened, ERROR_SUCCESS);
  EXPECT_EQ(WriteRecordValue(software), ERROR_SUCCESS);
  RegCloseKey(software);
  const std::string after = ReadText(StorePath());
  std::optional<qm::registry::Hive> hive = qm::registry::ParseHive(after, "HKEY_CURRENT_USER");
  ASSERT_TRUE(hive);
  if (before.empty()) return;  // nothing was there to keep
  std::optional<qm::registry::Hive> old = qm::registry::ParseHive(before, "HKEY_CURRENT_USER");
  ASSERT_TRUE(old);
  // Every key and value that was there is still there; the record is added.
  for (const auto& [path, key] : old->Keys()) {
    SCOPED_TRACE(path);
    qm::registry::RegistryKey* kept = hive->FindKey(path);
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(kept->values.size(), key.values.size());
  }
  ASSERT_NE(hive->FindKey("Software\\ryk"), nullptr);
  EXPECT_NE(hive->FindKey("Software\\ryk")->FindValue("destinationPath"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(HostileStores, HostileStoreTest, testing::ValuesIn(kStores),
                         [](const testing::TestParamInfo<HostileStore>& info) { return info.param.name; });
