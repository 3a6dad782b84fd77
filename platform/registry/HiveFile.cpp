#include "platform/registry/HiveFile.h"

#include <cerrno>

#include "platform/kernel/LastError.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/kernel/host/FileLock.h"
#include "platform/registry/Registry.h"

namespace qm::registry {

namespace {

DWORD ReadStore(const std::string& path, std::string* text) {
  return qm::kernel::host::ReadWholeFile(path, text) ? ERROR_SUCCESS : qm::kernel::ErrorFromErrno(errno);
}

// Whether what ReadStore gave is no store yet: none, or an empty file, which
// holds nothing to keep (a write cut short by a full disk or a crash of some
// other program leaves one); refusing it would stop every later write.
bool NoStoreYet(DWORD error, const std::string& text) {
  return error == ERROR_FILE_NOT_FOUND || (error == ERROR_SUCCESS && text.empty());
}

std::vector<BYTE> StringData(std::string_view text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

}  // namespace

LONG HiveFile::Read(Hive* hive) const {
  std::string text;
  DWORD error = ReadStore(hostPath, &text);
  if (NoStoreYet(error, text)) {
    error = Update([](Hive&, bool*) { return static_cast<LONG>(ERROR_SUCCESS); });
    if (error == ERROR_SUCCESS) error = ReadStore(hostPath, &text);
  }
  if (error != ERROR_SUCCESS) return static_cast<LONG>(error);
  std::optional<Hive> parsed = ParseHive(text, seed.RootName());
  if (!parsed) return ERROR_BADDB;
  *hive = std::move(*parsed);
  return ERROR_SUCCESS;
}

LONG HiveFile::Update(const std::function<LONG(Hive& hive, bool* changed)>& change) const {
  qm::kernel::host::FileLock lock;
  if (!lock.Acquire(hostPath + ".lock")) return static_cast<LONG>(qm::kernel::ErrorFromErrno(errno));

  std::string text;
  DWORD error = ReadStore(hostPath, &text);
  bool isNew = NoStoreYet(error, text);
  if (error != ERROR_SUCCESS && !isNew) return static_cast<LONG>(error);

  Hive hive = seed;
  if (!isNew) {
    std::optional<Hive> parsed = ParseHive(text, seed.RootName());
    if (!parsed) return ERROR_BADDB;
    hive = std::move(*parsed);
  }
  bool changed = false;
  LONG result = change(hive, &changed);
  if (result != ERROR_SUCCESS) return result;
  if (!changed && !isNew) return ERROR_SUCCESS;
  if (!qm::kernel::host::WriteFileAtomically(hostPath, FormatHive(hive)))
    return static_cast<LONG>(qm::kernel::ErrorFromErrno(errno));
  return ERROR_SUCCESS;
}

const char* RootNameOf(HiveId hive) {
  return hive == HiveId::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

Hive SeedOf(HiveId id) {
  Hive hive(RootNameOf(id));
  if (id == HiveId::CurrentUser) {
    hive.CreateKey("Software");
  } else {
    // A new machine comes with the DirectX 9 runtime.
    RegistryKey& directX = hive.CreateKey("Software\\Microsoft\\DirectX");
    directX.values.push_back({"Version", REG_SZ, StringData("4.09.00.0904")});
    hive.CreateKey("System");
  }
  return hive;
}

}  // namespace qm::registry
