// Host-specific: std::thread over pthreads, gettid.
#include "platform/kernel/host/Thread.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qm::kernel::host {

Thread::~Thread() {
  std::lock_guard lock(joinMutex);
  if (!thread.joinable()) return;
  if (thread.get_id() == std::this_thread::get_id())
    thread.detach();
  else
    thread.join();
}

bool Thread::Start(std::function<void()> routine) {
  try {
    thread = std::thread([this, routine = std::move(routine)] {
      id.store(CurrentThreadId());
      id.notify_all();
      routine();
    });
  } catch (const std::system_error& error) {
    errno = error.code().value() ? error.code().value() : EAGAIN;
    return false;
  }
  // The id is there before anyone can ask for it.
  id.wait(0);
  return true;
}

void Thread::Join() {
  std::lock_guard lock(joinMutex);
  if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
}

int CurrentThreadId() { return static_cast<int>(::gettid()); }

}  // namespace qm::kernel::host
