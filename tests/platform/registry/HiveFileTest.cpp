#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "support/HostFiles.h"
#include "support/TempDir.h"

using qm::registry::Hive;
using qm::registry::HiveFile;
using qm::registry::HiveId;
using qm::test::ReadHostFile;

namespace {

LONG SetString(const HiveFile& store, const std::string& name, const std::string& text) {
  return store.Update([&](Hive& hive, bool* changed) -> LONG {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    hive.CreateKey("Software\\Race").values.push_back({name, REG_SZ, data});
    *changed = true;
    return ERROR_SUCCESS;
  });
}

}  // namespace

TEST(HiveFile, ANewStoreStartsFromItsSeed) {
  qm::test::TempDir dir;
  HiveFile store(dir.Path() + "/system.reg", qm::registry::SeedOf(HiveId::LocalMachine));
  Hive hive("");
  ASSERT_EQ(store.Read(&hive), ERROR_SUCCESS);
  EXPECT_EQ(ReadHostFile(store.HostPath()),
            "REGEDIT4\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\DirectX]\r\n"
            "\"Version\"=\"4.09.00.0904\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\System]\r\n\r\n");
}

TEST(HiveFile, ACorruptStoreIsNeverRewritten) {
  qm::test::TempDir dir;
  HiveFile store(dir.Path() + "/user.reg", qm::registry::SeedOf(HiveId::CurrentUser));
  const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"half=\"written\r\n\0\0\0";
  { std::ofstream(store.HostPath(), std::ios::binary) << corrupt; }
  const std::string before = ReadHostFile(store.HostPath());

  Hive hive("");
  EXPECT_EQ(store.Read(&hive), ERROR_BADDB);
  EXPECT_EQ(SetString(store, "x", "y"), ERROR_BADDB);
  EXPECT_EQ(ReadHostFile(store.HostPath()), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_TRUE(entry.path().filename() == "user.reg" || entry.path().filename() == "user.reg.lock")
        << entry.path();
}

TEST(HiveFile, AFailedChangeWritesNothing) {
  qm::test::TempDir dir;
  HiveFile store(dir.Path() + "/user.reg", qm::registry::SeedOf(HiveId::CurrentUser));
  ASSERT_EQ(SetString(store, "kept", "1"), ERROR_SUCCESS);
  const std::string before = ReadHostFile(store.HostPath());
  LONG result = store.Update([](Hive& hive, bool* changed) -> LONG {
    hive.DeleteTree("");
    *changed = true;
    return ERROR_ACCESS_DENIED;
  });
  EXPECT_EQ(result, ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadHostFile(store.HostPath()), before);
}
