#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Waitable.h"
#include "platform/kernel/host/Poll.h"

using namespace qm::kernel;

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  // Shared, so that a handle closed by another thread meanwhile cannot take
  // the object away from under the wait.
  std::shared_ptr<Waitable> object;
  if (handle != GetCurrentProcess()) {
    object = ShareHandle<Waitable>(handle);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
  }
  std::vector<int> fds;
  const int endRequest = CurrentThreadEndRequest();
  if (endRequest >= 0) fds.push_back(endRequest);
  if (object) fds.push_back(object->ReadinessFd());

  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    long long left = -1;
    if (milliseconds != INFINITE)
      left = std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
    // A thread asked to end waits for nothing more, even for an object that
    // is signalled: what it would do next is what it was asked not to do.
    std::size_t ready = 0;
    qm::kernel::host::WaitOutcome outcome =
        endRequest >= 0 ? qm::kernel::host::WaitForReadable({&endRequest, 1}, 0, &ready)
                        : qm::kernel::host::WaitOutcome::TimedOut;
    if (outcome == qm::kernel::host::WaitOutcome::Ready) {
      SetLastError(ERROR_OPERATION_ABORTED);
      return WAIT_FAILED;
    }
    if (object && object->IsSignalled()) return WAIT_OBJECT_0;
    if (left == 0) return WAIT_TIMEOUT;
    outcome = qm::kernel::host::WaitForReadable(fds, left, &ready);
    if (outcome == qm::kernel::host::WaitOutcome::Failed) {
      SetLastErrorFromErrno(errno);
      return WAIT_FAILED;
    }
    // Ready or timed out: the next round tells which it was for the object.
  }
}
