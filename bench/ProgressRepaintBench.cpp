// What the copy pays per file for its progress display: one repaint of the
// self-drawn bar plus one drain of the message queue, on the headless
// display, through the real dialog, bar and window system.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "install/engine/ProgressDialog.h"
#include "install/resources/InstallerResources.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Startup.h"
#include "platform/ui/WinUser.h"

int main(int argc, char** argv) {
  char prefix[] = "/tmp/quellmoor-bench-XXXXXX";
  if (!mkdtemp(prefix)) return 1;
  setenv("QUELLMOOR_PREFIX", prefix, 1);
  qm::ui::UseDisplay(qm::ui::CreateHeadlessDisplay(1024, 768));
  qm::ui::StartWindowSystem();
  RegisterInstallerResources();

  // The copy runs over the full-screen main window.
  WNDCLASSEXA backgroundClass{};
  backgroundClass.cbSize = sizeof backgroundClass;
  backgroundClass.lpfnWndProc = DefWindowProcA;
  backgroundClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
  backgroundClass.lpszClassName = "BenchBackground";
  RegisterClassExA(&backgroundClass);
  HWND background = CreateWindowExA(0, "BenchBackground", "Install", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                                    nullptr, nullptr, nullptr);
  UpdateWindow(background);

  auto* dialog = new ProgressDialog(nullptr);
  if (!dialog->Create()) return 1;
  dialog->ShowWindow(SW_SHOW);
  // An empty list of trees sets the expected total and the bar's range.
  const std::uint32_t totalKb = 1000000;
  dialog->CopyTrees("C:\\", "C:\\bench\\", {}, totalKb);

  const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
  const std::uint64_t bytesPerFile = std::uint64_t(totalKb) * 1024 / files;
  auto start = std::chrono::steady_clock::now();
  for (int i = 1; i <= files; ++i) dialog->UpdateProgress(bytesPerFile * i);
  auto elapsed = std::chrono::steady_clock::now() - start;
  double perFile = std::chrono::duration<double, std::micro>(elapsed).count() / files;
  std::printf("progress repaint + queue drain: %.2f microseconds per file (%d files; goal: under 50)\n", perFile,
              files);
  dialog->DestroyWindow();
  DestroyWindow(background);
  std::string cleanup = std::string("rm -rf '") + prefix + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 0;
}
