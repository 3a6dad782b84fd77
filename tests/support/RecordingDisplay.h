// A headless screen that records what the window system tells the host
// window. Header only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DisplayBackend.h"

namespace qm::test {

class RecordingDisplay final : public qm::ui::DisplayBackend {
 public:
  explicit RecordingDisplay(SIZE size = {640, 480}) : inner_(qm::ui::CreateHeadlessDisplay(size.cx, size.cy)) {}
  const char* Name() const override { return "recording"; }
  SIZE ScreenSize() const override { return inner_->ScreenSize(); }
  RECT WorkArea() const override { return inner_->WorkArea(); }
  void Present(const qm::ui::Surface& screen, const std::vector<RECT>& dirty) override {
    inner_->Present(screen, dirty);
  }
  void WaitForInput(int timeoutMs) override { inner_->WaitForInput(timeoutMs); }
  void Wake() override { inner_->Wake(); }
  void SetTitle(const std::string& utf8) override { titles.push_back(utf8); }
  void SetIcon(const qm::ui::Surface& image) override { iconSizes.push_back({image.width, image.height}); }
  void Minimize() override { ++minimized; }

  std::vector<std::string> titles;
  std::vector<SIZE> iconSizes;
  int minimized = 0;

 private:
  std::unique_ptr<qm::ui::DisplayBackend> inner_;
};

}  // namespace qm::test
