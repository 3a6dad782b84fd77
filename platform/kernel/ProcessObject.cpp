// Process handles over the host's children.
#include <cerrno>
#include <memory>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Waitable.h"
#include "platform/kernel/host/ChildProcess.h"
#include "platform/kernel/host/Priority.h"
#include "platform/kernel/host/Process.h"

namespace qm::kernel {
namespace {

class ProcessObject : public Waitable {
 public:
  explicit ProcessObject(std::shared_ptr<host::Child> child) : child(std::move(child)) {}
  // Once the handle is closed, an ended process leaves nothing behind.
  ~ProcessObject() override { host::ReleaseChild(child); }
  int ReadinessFd() const override { return child->EndedFd().Get(); }
  bool IsSignalled() override { return child->HasEnded(); }
  host::Child& Child() { return *child; }

 private:
  std::shared_ptr<host::Child> child;
};

// Either the current process (its pseudo-handle) or a child of ours.
struct ProcessRef {
  bool current = false;
  std::shared_ptr<ProcessObject> child;
  explicit operator bool() const { return current || child; }
};

ProcessRef FindProcess(HANDLE handle) {
  ProcessRef ref;
  if (handle == GetCurrentProcess())
    ref.current = true;
  else
    ref.child = ShareHandle<ProcessObject>(handle);
  if (!ref) SetLastError(ERROR_INVALID_HANDLE);
  return ref;
}

}  // namespace

bool StartProcess(const std::string& hostProgram, const std::vector<std::string>& argv, const std::string& hostFolder,
                  HANDLE* process) {
  std::shared_ptr<host::Child> child = host::StartChild(hostProgram, argv, hostFolder);
  if (!child) {
    SetLastErrorFromErrno(errno, hostProgram);
    return false;
  }
  if (process) *process = InsertHandle(std::make_unique<ProcessObject>(std::move(child)));
  return true;
}

}  // namespace qm::kernel

using namespace qm::kernel;

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  ProcessRef ref = FindProcess(process);
  if (!ref) return FALSE;
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  host::Child* child = ref.child ? &ref.child->Child() : nullptr;
  *exitCode = child && child->HasEnded() ? static_cast<DWORD>(child->ExitCode()) : STILL_ACTIVE;
  return TRUE;
}

DWORD GetPriorityClass(HANDLE process) {
  ProcessRef ref = FindProcess(process);
  if (!ref) return 0;
  int nice = 0;
  bool known = ref.current ? host::GetProcessNice(host::CurrentProcessId(), &nice) : ref.child->Child().GetNice(&nice);
  if (!known) {
    SetLastErrorFromErrno(errno);
    return 0;
  }
  return PriorityClassOfNice(nice);
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) {
  ProcessRef ref = FindProcess(process);
  if (!ref) return FALSE;
  int nice = 0;
  if (!NiceOfPriorityClass(priorityClass, &nice)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool set = ref.current ? host::SetProcessNice(host::CurrentProcessId(), nice) : ref.child->Child().SetNice(nice);
  if (!set) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

DWORD GetProcessId(HANDLE process) {
  ProcessRef ref = FindProcess(process);
  if (!ref) return 0;
  return static_cast<DWORD>(ref.current ? host::CurrentProcessId() : ref.child->Child().Id());
}
