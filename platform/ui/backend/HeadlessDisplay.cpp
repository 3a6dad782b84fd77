// The headless backend: the screen exists only as the composed surface, and
// input comes only from InjectInput (the automation driver).
#include <condition_variable>
#include <mutex>

#include "platform/ui/DisplayBackend.h"

namespace qm::ui {

namespace {

class HeadlessDisplay final : public DisplayBackend {
 public:
  HeadlessDisplay(int width, int height) : size_{width, height} {}

  const char* Name() const override { return "headless"; }
  SIZE ScreenSize() const override { return size_; }
  RECT WorkArea() const override { return {0, 0, size_.cx, size_.cy}; }
  void Present(const Surface&, const std::vector<RECT>&) override {}
  bool ShowsScreen() const override { return false; }

  void WaitForInput(int timeoutMs) override {
    std::unique_lock lock(mutex_);
    auto woken = [this] { return woken_; };
    // A poll (timeout 0) must not block: even a zero timeout puts the thread
    // to sleep for the kernel's timer slack, and the copy polls once per file.
    if (timeoutMs < 0)
      wake_.wait(lock, woken);
    else if (timeoutMs > 0)
      wake_.wait_for(lock, std::chrono::milliseconds(timeoutMs), woken);
    woken_ = false;
  }

  void Wake() override {
    {
      std::lock_guard lock(mutex_);
      woken_ = true;
    }
    wake_.notify_all();
  }

 private:
  SIZE size_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateHeadlessDisplay(int width, int height) {
  return std::make_unique<HeadlessDisplay>(width, height);
}

}  // namespace qm::ui
