// Test windows whose behaviour each test supplies as a lambda and a log of
// the messages they receive, on the shared screen fixture.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "support/RectSides.h"
#include "support/WindowRects.h"
#include "support/ScreenTest.h"

namespace qm::test {

using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

// Answers `message` with `result`; every other message goes on to DefWindowProcA.
Handler Answer(UINT message, LRESULT result);
// Calls `seen` with each `message`'s wParam; every message goes on to DefWindowProcA.
Handler On(UINT message, std::function<void(WPARAM)> seen);

struct LoggedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowTest : public ScreenTest {
 protected:
  WindowTest() : ScreenTest({640, 480}) {}
  void SetUp() override;
  // Destroys the windows Create and CreateOf made that are still open.
  void TearDown() override;

  // A top-level or child window of the test class; `handler` sees every
  // message first and returns a result to stop DefWindowProcA.
  HWND Create(DWORD style, RECT rect, HWND parent = nullptr, Handler handler = {}, int id = 0, DWORD exStyle = 0,
              const char* text = "");
  // A window of another class, given as Create's rect.
  HWND CreateOf(const char* className, DWORD style, RECT rect, HWND parent = nullptr, const char* text = "");
  // A window class of the process; 0 when it cannot be registered.
  static ATOM RegisterTestClass(const char* name, UINT style = 0, WNDPROC proc = DefWindowProcA,
                                HICON icon = nullptr);
  void Click(POINT screen);
  void ClickClient(HWND hwnd, POINT client);
  void Key(UINT virtualKey, bool alt = false, bool shift = false);
  // A key pressed and, unless `release` is false, let go again; not pumped.
  static void InjectKey(UINT virtualKey, bool alt = false, bool shift = false, bool release = true);
  // Text typed at the keyboard, then pumped.
  void Type(const std::string& text);
  std::vector<LoggedMessage> Messages(HWND hwnd, UINT message) const;
  // The wParam of each message logged for hwnd, in order.
  std::vector<WPARAM> WParams(HWND hwnd, UINT message) const;
  void ClearLog() { log_.clear(); }

 public:
  static std::vector<LoggedMessage> log_;

 private:
  std::vector<HWND> made_;
};

}  // namespace qm::test
