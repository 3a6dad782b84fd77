// Test windows whose behaviour each test supplies as a lambda, a log of the
// messages they receive, and a fixture with a fresh headless screen that
// fails when a test leaves a window open.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"

namespace qm::test {

using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

struct LoggedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A top-level or child window of the test class; `handler` sees every
  // message first and returns a result to stop DefWindowProcA.
  HWND Create(DWORD style, RECT rect, HWND parent = nullptr, Handler handler = {}, int id = 0, DWORD exStyle = 0,
              const char* text = "");
  // Dispatches until nothing is left (timers excepted).
  void Pump();
  void Click(POINT screen);
  void ClickClient(HWND hwnd, POINT client);
  void Key(UINT virtualKey, bool alt = false, bool shift = false);
  std::vector<LoggedMessage> Messages(HWND hwnd, UINT message) const;
  void ClearLog() { log_.clear(); }

 public:
  static std::vector<LoggedMessage> log_;
};

}  // namespace qm::test
