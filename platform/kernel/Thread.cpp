#include "platform/kernel/Thread.h"

#include <atomic>
#include <cerrno>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Waitable.h"
#include "platform/kernel/host/Event.h"
#include "platform/kernel/host/Thread.h"

namespace qm::kernel {
namespace {

std::atomic<bool> creationRefused{false};

// Shared by the handle and the running thread, so either may go first.
struct ThreadState {
  host::Thread thread;
  host::Event ended;
  host::Event endRequest;
  std::atomic<DWORD> exitCode{STILL_ACTIVE};
  std::atomic<bool> endRequested{false};
  std::atomic<DWORD> requestedExitCode{0};
};

thread_local ThreadState* currentThread = nullptr;

class ThreadObject : public Waitable {
 public:
  explicit ThreadObject(std::shared_ptr<ThreadState> state) : state(std::move(state)) {}
  int ReadinessFd() const override { return state->ended.Fd().Get(); }
  // Signalled only once the host thread is gone, not merely done with its
  // routine: whoever waited may count the process's threads right after.
  bool IsSignalled() override {
    if (!state->ended.IsSet()) return false;
    state->thread.Join();
    return true;
  }
  ThreadState& State() { return *state; }

 private:
  std::shared_ptr<ThreadState> state;
};

void RunThread(const std::shared_ptr<ThreadState>& state, LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
  currentThread = state.get();
  DWORD code = routine(parameter);
  currentThread = nullptr;
  if (state->endRequested.load()) code = state->requestedExitCode.load();
  state->exitCode.store(code);
  state->ended.Set();
}

}  // namespace

int CurrentThreadEndRequest() { return currentThread ? currentThread->endRequest.Fd().Get() : -1; }

void SetThreadCreationRefused(bool refused) { creationRefused.store(refused); }

}  // namespace qm::kernel

using namespace qm::kernel;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, std::size_t, LPTHREAD_START_ROUTINE routine, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
  if (security || creationFlags != 0 || !routine) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (creationRefused.load()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto state = std::make_shared<ThreadState>();
  if (!state->ended.Open() || !state->endRequest.Open() ||
      !state->thread.Start([state, routine, parameter] { RunThread(state, routine, parameter); })) {
    SetLastErrorFromErrno(errno);
    return nullptr;
  }
  if (threadId) *threadId = static_cast<DWORD>(state->thread.Id());
  return InsertHandle(std::make_unique<ThreadObject>(std::move(state)));
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  std::shared_ptr<ThreadObject> object = ShareHandle<ThreadObject>(thread);
  if (!object || !exitCode) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = object->State().exitCode.load();
  return TRUE;
}

BOOL TerminateThread(HANDLE thread, DWORD exitCode) {
  std::shared_ptr<ThreadObject> object = ShareHandle<ThreadObject>(thread);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ThreadState& state = object->State();
  state.requestedExitCode.store(exitCode);
  state.endRequested.store(true);
  state.endRequest.Set();
  return TRUE;
}

DWORD GetThreadId(HANDLE thread) {
  std::shared_ptr<ThreadObject> object = ShareHandle<ThreadObject>(thread);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(object->State().thread.Id());
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(host::CurrentThreadId()); }
