#include "platform/framework/Application.h"

#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/host/Signals.h"
#include "platform/ui/Startup.h"
#include "platform/ui/WindowSystemExit.h"

namespace qm::fw {
namespace {

Application*& CurrentApplication() {
  static Application* application = nullptr;
  return application;
}

}  // namespace

Application::Application() { CurrentApplication() = this; }

Application::~Application() {
  if (CurrentApplication() == this) CurrentApplication() = nullptr;
}

bool Application::InitInstance() { return true; }

int Application::ExitInstance() { return quitCode; }

int Application::Run() {
  MSG msg{};
  long idleCount = 0;
  for (;;) {
    while (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) break;
    }
    if (!GetMessageA(&msg, nullptr, 0, 0)) break;
    idleCount = 0;
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  quitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

bool Application::PreTranslateMessage(MSG* msg) {
  if (!msg->hwnd) return false;
  bool mainWindowAsked = false;
  for (HWND window = msg->hwnd; window; window = GetParent(window)) {
    Window* object = Window::FromHandlePermanent(window);
    if (object) {
      if (object == mainWindow) mainWindowAsked = true;
      if (object->PreTranslateMessage(msg)) return true;
    }
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) break;
  }
  if (mainWindow && !mainWindowAsked && mainWindow->Handle()) return mainWindow->PreTranslateMessage(msg);
  return false;
}

bool Application::OnIdle(long count) {
  if (count == 0) Window::DeleteTemporaryWrappers();
  return false;
}

Application* GetApplication() { return CurrentApplication(); }

std::string ApplicationName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const auto slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

int RunApplication(Application& application) {
  qm::kernel::host::FailWritesPastTheFileSizeLimit();
  qm::ui::StartWindowSystem();
  const int exitCode = application.InitInstance() ? application.Run() : application.ExitInstance();
  // Windows the program leaves open, such as its main window, stay until it
  // exits and are destroyed then.
  qm::ui::DestroyWindowsAtExit();
  return exitCode;
}

}  // namespace qm::fw
