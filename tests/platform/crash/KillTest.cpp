// Writers killed with SIGKILL at random moments: the registry store, a
// file copy and shell links. Afterwards every key holds its old or its
// new value, the copy is the old file or the whole new one, each link the
// old or the new one; no lock stays held, and a temporary file left by the
// kill is hidden and gone after the next run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "KillRun.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Prefix.h"
#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellLink.h"
#include "support/HostFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int RegistryKills = qm::test::KillsUnderSanitizer(500);
constexpr int CopyKills = qm::test::KillsUnderSanitizer(200);
constexpr int LinkKills = qm::test::KillsUnderSanitizer(200);

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

std::string FolderOf(const std::string& hostPath) { return fs::path(hostPath).parent_path().string(); }

std::string NameOf(const std::string& hostPath) { return fs::path(hostPath).filename().string(); }

// Whether a lock on the file could be taken at once, as the next writer
// would take it.
bool LockIsFree(const std::string& lockPath) {
  int fd = open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return true;  // never made: nobody holds it
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

// Leftovers of the kills in a folder: hidden temporary names only.
void ExpectOnlyHiddenTemporaries(const std::string& folder, const std::vector<std::string>& expected,
                                 int* temporariesSeen) {
  qm::test::FolderLeftovers left = qm::test::LeftoversIn(folder, expected);
  EXPECT_TRUE(left.strangers.empty()) << folder << " holds " << left.strangers.front();
  for (const std::string& name : left.temporaries) EXPECT_EQ(name[0], '.') << name;
  *temporariesSeen += static_cast<int>(left.temporaries.size());
}

// Kills `kills` writers, each at a random moment; after each kill `check`
// looks at what it left, counting the temporary files it finds, until a
// check fails. Then reports the run. A fatal failure in a check ends the
// test when the call is wrapped in ASSERT_NO_FATAL_FAILURE.
void KillAndCheck(const char* what, int kills, qm::test::KillRun& run,
                  const std::function<void(int* temporaries)>& check) {
  int temporaries = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int kill = 0; kill < kills && !testing::Test::HasFailure(); ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    check(&temporaries);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %d kills (%d while a generation was being written) in %.1f s; %d temporary files seen after a kill; %s\n",
              what, kills, run.KillsMidWrite(), seconds, temporaries, run.SeedNote().c_str());
}

// ---- the registry store

constexpr int GenerationKeys = 4;

std::string KeyName(int key) { return "Software\\Crash\\Key" + std::to_string(key); }

bool SetGeneration(int key, long generation) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyName(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const std::string text = std::to_string(generation);
  LONG result = RegSetValueExA(handle, "Generation", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

// The generation a key holds; -1 when the store or the value cannot be read.
long GenerationOf(int key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyName(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return -1;
  char text[32] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(handle, "Generation", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS || type != REG_SZ) return -1;
  return std::strtol(text, nullptr, 10);
}

// A store of about 100 KB, as a user's grows, so that a write takes long
// enough to be killed in the middle.
void FillStore() {
  qm::registry::HiveFile store = qm::registry::StoreOf(qm::registry::HiveId::CurrentUser);
  ASSERT_EQ(store.Update([](qm::registry::Hive& hive, bool* changed) {
    qm::registry::RegistryKey& key = hive.CreateKey("Software\\Filler");
    for (int i = 0; i < 1000; ++i) {
      std::string text = "value " + std::to_string(i) + " " + std::string(80, 'f');
      key.values.push_back({"Filler" + std::to_string(i), REG_SZ, std::vector<BYTE>(text.begin(), text.end())});
      key.values.back().data.push_back(0);
    }
    *changed = true;
    return static_cast<LONG>(ERROR_SUCCESS);
  }),
            ERROR_SUCCESS);
}

bool WriteGeneration(long generation) {
  for (int key = 0; key < GenerationKeys; ++key)
    if (!SetGeneration(key, generation)) return false;
  return true;
}

TEST(KillTest, ARegistryWriterKilledAtRandomLeavesEveryKeyOldOrNewAndNoLockOrTemporary) {
  qm::test::KillRun run;
  SCOPED_TRACE(run.SeedNote());
  FillStore();
  for (int key = 0; key < GenerationKeys; ++key) ASSERT_TRUE(SetGeneration(key, 0));
  const std::string store = qm::registry::StoreOf(qm::registry::HiveId::CurrentUser).HostPath();
  const std::vector<std::string> storeFiles = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FolderOf(store))) names.push_back(entry.path().filename());
    return names;
  }();
  std::vector<long> held(GenerationKeys, 0);
  ASSERT_NO_FATAL_FAILURE(KillAndCheck("registry writer", RegistryKills, run, [&](int* temporaries) {
    const long base = *std::max_element(held.begin(), held.end());
    const qm::test::KillProgress& progress = run.KillWriter(base, WriteGeneration);
    const long started = progress.started;
    const long done = progress.done;

    const std::string text = qm::test::ReadHostFile(store);
    ASSERT_TRUE(text.starts_with("REGEDIT4")) << "the store is torn or empty: " << text.size() << " bytes";
    ASSERT_TRUE(LockIsFree(store + ".lock")) << "the killed writer's lock is still held";
    // Keys are written in order: the first ones may hold the generation
    // begun last, the rest the one finished last (or, when the child
    // finished none, what they held before).
    long previous = started;
    for (int key = 0; key < GenerationKeys; ++key) {
      SCOPED_TRACE(KeyName(key));
      const long now = GenerationOf(key);
      const long old = done > base ? done : held[key];
      ASSERT_TRUE(now == old || now == started) << "holds " << now << ", neither " << old << " nor " << started;
      EXPECT_LE(now, previous) << "a later key is newer than an earlier one";
      previous = now;
      held[key] = now;
    }
    ExpectOnlyHiddenTemporaries(FolderOf(store), storeFiles, temporaries);
  }));

  // The next run's first write clears what the last kill left.
  ASSERT_TRUE(run.RunToEnd([] { return SetGeneration(0, 1000000); }));
  EXPECT_TRUE(qm::test::LeftoversIn(FolderOf(store), storeFiles).temporaries.empty());
  EXPECT_EQ(GenerationOf(0), 1000000);
}

// ---- a copy

TEST(KillTest, ACopyKilledMidFileLeavesTheOldFileOrTheWholeNewOne) {
  qm::test::KillRun run;
  SCOPED_TRACE(run.SeedNote());
  const std::vector<std::string> sources{"C:\\Medium\\db\\old.dat", "C:\\Medium\\db\\new.dat"};
  std::vector<std::string> contents;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    std::string text(2 << 20, static_cast<char>('o' + i));
    text.replace(0, 16, "version " + std::to_string(i) + "        ");
    qm::test::MakeFile(Host(sources[i]), 0);
    ASSERT_TRUE(std::ofstream(Host(sources[i]), std::ios::binary) << text);
    contents.push_back(text);
  }
  fs::create_directories(Host("C:\\Games\\Quellmoor\\db"));
  const std::string destination = "C:\\Games\\Quellmoor\\db\\items.dat";
  ASSERT_TRUE(CopyFileA(sources[0].c_str(), destination.c_str(), FALSE));
  const std::string hostDestination = Host(destination);

  long generation = 0;
  ASSERT_NO_FATAL_FAILURE(KillAndCheck("copy", CopyKills, run, [&](int* temporaries) {
    const qm::test::KillProgress& progress = run.KillWriter(
        generation, [&](long g) { return CopyFileA(sources[g % 2].c_str(), destination.c_str(), FALSE) != FALSE; });
    generation = progress.started;
    const std::string now = qm::test::ReadHostFile(hostDestination);
    ASSERT_TRUE(now == contents[0] || now == contents[1])
        << "a partial copy under the real name: " << now.size() << " bytes, begins " << now.substr(0, 16);
    ExpectOnlyHiddenTemporaries(FolderOf(hostDestination), {"items.dat"}, temporaries);
  }));

  ASSERT_TRUE(run.RunToEnd([&] { return CopyFileA(sources[1].c_str(), destination.c_str(), FALSE) != FALSE; }));
  EXPECT_TRUE(qm::test::LeftoversIn(FolderOf(hostDestination), {"items.dat"}).temporaries.empty());
  EXPECT_EQ(qm::test::ReadHostFile(hostDestination), contents[1]);
}

// ---- links

std::string SpecialFolder(int id) {
  LPITEMIDLIST list = nullptr;
  char path[MAX_PATH] = {};
  if (SHGetSpecialFolderLocation(nullptr, id, &list) == S_OK) {
    SHGetPathFromIDListA(list, path);
    ILFree(list);
  }
  return path;
}

bool SaveLink(const std::string& linkFile, const std::string& target) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  link->SetPath(target.c_str());
  link->SetDescription("Quellmoor");
  IPersistFile* file = nullptr;
  HRESULT result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    WCHAR name[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, name, MAX_PATH);
    result = file->Save(name, TRUE);
    file->Release();
  }
  link->Release();
  return SUCCEEDED(result);
}

TEST(KillTest, ALinkWriterKilledAtRandomLeavesTheOldOrTheNewLinkAndNoTemporaryFile) {
  qm::test::KillRun run;
  SCOPED_TRACE(run.SeedNote());
  CoInitialize(nullptr);
  const std::string group = SpecialFolder(CSIDL_PROGRAMS) + "\\Quellmoor";
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_FALSE(desktop.empty());
  CreateDirectoryA(group.c_str(), nullptr);
  const std::vector<std::string> links{group + "\\Setup.lnk", desktop + "\\Quellmoor.lnk"};
  const std::vector<std::string> targets{"C:\\Games\\Quellmoor\\bin\\setup.exe", "D:\\Quellmoor\\bin\\setup.exe"};
  for (const std::string& link : links) ASSERT_TRUE(SaveLink(link, targets[0]));

  long generation = 0;
  ASSERT_NO_FATAL_FAILURE(KillAndCheck("link writer", LinkKills, run, [&](int* temporaries) {
    const qm::test::KillProgress& progress = run.KillWriter(generation, [&](long g) {
      for (const std::string& link : links)
        if (!SaveLink(link, targets[g % 2])) return false;
      return true;
    });
    generation = progress.started;
    for (const std::string& link : links) {
      SCOPED_TRACE(link);
      std::optional<qm::shell::ShellLinkData> read = qm::shell::ReadShellLink(link);
      ASSERT_TRUE(read) << "the link is torn or gone";
      EXPECT_TRUE(read->target == targets[0] || read->target == targets[1]) << read->target;
      ExpectOnlyHiddenTemporaries(FolderOf(Host(link)), {NameOf(Host(link))}, temporaries);
    }
  }));

  ASSERT_TRUE(run.RunToEnd([&] { return SaveLink(links[0], targets[1]) && SaveLink(links[1], targets[1]); }));
  for (const std::string& link : links) {
    SCOPED_TRACE(link);
    EXPECT_TRUE(qm::test::LeftoversIn(FolderOf(Host(link)), {NameOf(Host(link))}).temporaries.empty());
    EXPECT_EQ(qm::shell::ReadShellLink(link)->target, targets[1]);
  }
  CoUninitialize();
}

}  // namespace
