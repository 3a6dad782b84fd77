// Host boundary: threads of this process. May hold starting a host thread,
// its host id and joining it.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace qm::kernel::host {

class Thread {
 public:
  Thread() = default;
  // Joins the thread (it must have ended or be ending). Run on the thread
  // itself, as when the thread held the last reference to its owner, it
  // lets the thread finish on its own.
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Runs routine on a new host thread, once; answers when the thread runs.
  // False with errno set when the host has no thread to give.
  bool Start(std::function<void()> routine);
  // The host's id of the thread (as /proc/self/task names it); 0 before Start.
  int Id() const { return id.load(); }
  // Blocks until the host thread is gone; at once when it never started or
  // was joined before. Safe from several threads at a time.
  void Join();

 private:
  std::mutex joinMutex;
  std::thread thread;
  std::atomic<int> id{0};
};

// The calling thread's host id.
int CurrentThreadId();

}  // namespace qm::kernel::host
