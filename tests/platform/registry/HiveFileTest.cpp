#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "support/TempDir.h"

using qm::registry::Hive;
using qm::registry::HiveFile;
using qm::registry::HiveId;

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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
  EXPECT_EQ(ReadText(store.HostPath()),
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
  const std::string before = ReadText(store.HostPath());

  Hive hive("");
  EXPECT_EQ(store.Read(&hive), ERROR_BADDB);
  EXPECT_EQ(SetString(store, "x", "y"), ERROR_BADDB);
  EXPECT_EQ(ReadText(store.HostPath()), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_TRUE(entry.path().filename() == "user.reg" || entry.path().filename() == "user.reg.lock")
        << entry.path();
}

TEST(HiveFile, AFailedChangeWritesNothing) {
  qm::test::TempDir dir;
  HiveFile store(dir.Path() + "/user.reg", qm::registry::SeedOf(HiveId::CurrentUser));
  ASSERT_EQ(SetString(store, "kept", "1"), ERROR_SUCCESS);
  const std::string before = ReadText(store.HostPath());
  LONG result = store.Update([](Hive& hive, bool* changed) -> LONG {
    hive.DeleteTree("");
    *changed = true;
    return ERROR_ACCESS_DENIED;
  });
  EXPECT_EQ(result, ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadText(store.HostPath()), before);
}

// Each writer re-reads the store under the lock; without that, one process
// would write back its stale copy and erase the other's values.
TEST(HiveFile, TwoProcessesWritingAtOnceLoseNothing) {
  qm::test::TempDir dir;
  HiveFile store(dir.Path() + "/user.reg", qm::registry::SeedOf(HiveId::CurrentUser));
  constexpr int kWrites = 40;
  pid_t children[2];
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  for (int child = 0; child < 2; ++child) {
    children[child] = fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      char go;
      close(start[1]);
      if (read(start[0], &go, 1) != 0) _exit(3);
      for (int i = 0; i < kWrites; ++i) {
        std::string name = "p" + std::to_string(child) + "-" + std::to_string(i);
        if (SetString(store, name, name) != ERROR_SUCCESS) _exit(1);
      }
      _exit(0);
    }
  }
  close(start[0]);
  close(start[1]);  // both children start writing now
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Hive hive("");
  ASSERT_EQ(store.Read(&hive), ERROR_SUCCESS);
  qm::registry::RegistryKey* key = hive.FindKey("Software\\Race");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->values.size(), 2u * kWrites);
  for (int child = 0; child < 2; ++child)
    for (int i = 0; i < kWrites; ++i)
      EXPECT_NE(key->FindValue("p" + std::to_string(child) + "-" + std::to_string(i)), nullptr);
}
