#include "platform/kernel/ChangeNotification.h"

#include <cerrno>
#include <mutex>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Waitable.h"
#include "platform/kernel/host/TreeWatch.h"

namespace qm::kernel {
namespace {

struct FilterKind {
  DWORD filter;
  unsigned kind;
};

constexpr FilterKind kKinds[] = {
    {FILE_NOTIFY_CHANGE_FILE_NAME, host::kFileNames},   {FILE_NOTIFY_CHANGE_DIR_NAME, host::kFolderNames},
    {FILE_NOTIFY_CHANGE_ATTRIBUTES, host::kAttributes}, {FILE_NOTIFY_CHANGE_SIZE, host::kSize},
    {FILE_NOTIFY_CHANGE_LAST_WRITE, host::kWriteTime},  {FILE_NOTIFY_CHANGE_LAST_ACCESS, host::kAccessTime},
    {FILE_NOTIFY_CHANGE_CREATION, host::kCreationTime}, {FILE_NOTIFY_CHANGE_SECURITY, host::kSecurity},
};

class ChangeObject : public Waitable {
 public:
  int ReadinessFd() const override { return watch.Fd().Get(); }
  bool IsSignalled() override {
    std::lock_guard lock(mutex);
    if (watch.TakeChanges()) changed = true;
    return changed;
  }
  void Rearm() {
    std::lock_guard lock(mutex);
    // What came before the re-arm was answered by the last wake-up.
    watch.TakeChanges();
    changed = false;
  }
  host::TreeWatch watch;

 private:
  std::mutex mutex;
  bool changed = false;
};

}  // namespace
}  // namespace qm::kernel

using namespace qm::kernel;

HANDLE FindFirstChangeNotificationA(LPCSTR pathName, BOOL watchSubtree, DWORD notifyFilter) {
  unsigned kinds = 0;
  for (const FilterKind& entry : kKinds)
    if (notifyFilter & entry.filter) kinds |= entry.kind;
  if (kinds == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DWORD attributes = GetFileAttributesA(pathName);
  if (attributes == INVALID_FILE_ATTRIBUTES) return INVALID_HANDLE_VALUE;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_DIRECTORY);
    return INVALID_HANDLE_VALUE;
  }
  ResolvedPath folder = ResolvePath(pathName);
  if (folder.error != ERROR_SUCCESS) {
    SetLastError(folder.error);
    return INVALID_HANDLE_VALUE;
  }
  auto object = std::make_unique<ChangeObject>();
  if (!object->watch.Open(folder.host, watchSubtree != FALSE, kinds)) {
    SetLastErrorFromErrno(errno, folder.host);
    return INVALID_HANDLE_VALUE;
  }
  return InsertHandle(std::move(object));
}

BOOL FindNextChangeNotification(HANDLE changeHandle) {
  std::shared_ptr<ChangeObject> object = ShareHandle<ChangeObject>(changeHandle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->Rearm();
  return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE changeHandle) {
  if (!ShareHandle<ChangeObject>(changeHandle) || !CloseObject(changeHandle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
