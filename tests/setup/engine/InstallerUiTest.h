// Support for tests of the installer's windows: a fresh headless screen and
// the installer's resources for every test, a check that fails a test that
// leaves a top-level window open, and helpers for medium trees on the host.
// Header only, so that every installer test program can use it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "install/resources/InstallerResources.h"
#include "platform/framework/Window.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Startup.h"
#include "platform/ui/WinUser.h"
#include "support/OpenWindows.h"

namespace qm::test {

inline std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM param) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

inline std::string CaptionOf(HWND hwnd) {
  char caption[256] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  return caption;
}

class InstallerUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qm::ui::UseDisplay(qm::ui::CreateHeadlessDisplay(1024, 768));
    qm::ui::StartWindowSystem();
    RegisterInstallerResources();
  }

  void TearDown() override {
    Pump();
    qm::test::CloseWindowsLeftOpen();
    qm::fw::Window::DeleteTemporaryWrappers();
  }

  // Dispatches until the queue is empty; a quit message is put back.
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  // True when a WM_QUIT is waiting in the queue (it is taken out).
  static bool QuitPosted() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return true;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return false;
  }
};

// Clicks the close box in the caption of a top-level window, found by hit
// testing along the caption; false when the window shows none.
inline bool ClickCloseBox(HWND hwnd) {
  RECT frame{};
  GetWindowRect(hwnd, &frame);
  const int captionY = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = frame.right - 1; x > frame.right - 120; --x) {
    if (SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, captionY)) != HTCLOSE) continue;
    qm::ui::automation::ClickAt(POINT{x, captionY});
    return true;
  }
  return false;
}

inline std::string WindowsPath(const std::string& hostPath) { return qm::kernel::HostToWindowsPath(hostPath); }

// A file of `size` bytes, its folders made as needed.
inline void MakeFile(const std::filesystem::path& path, std::size_t size, char fill = 'q') {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << std::string(size, fill);
}

inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file below root, as paths relative to it with '/' separators.
inline std::set<std::string> FilesBelow(const std::filesystem::path& root) {
  std::set<std::string> files;
  if (!std::filesystem::exists(root)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.insert(std::filesystem::relative(entry.path(), root).generic_string());
  return files;
}

}  // namespace qm::test
