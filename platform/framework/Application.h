// Application: the program's one application object. RunApplication starts
// it: the window system's start-up (StartWindowSystem), InitInstance, then
// (when that succeeded) the message loop, then ExitInstance, whose result is
// the program's exit code.
#pragma once

#include <string>

#include "platform/framework/Window.h"

namespace qm::fw {

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // True: start-up succeeded and the loop runs. False: the loop is skipped.
  virtual bool InitInstance();
  // The exit code: the quit message's wParam, 0 when no loop ran.
  virtual int ExitInstance();
  // The message loop, until WM_QUIT; returns ExitInstance().
  virtual int Run();
  // Gives the windows from the message's target up to its top-level window,
  // then the main window, the chance to take the message (dialog keyboard).
  virtual bool PreTranslateMessage(MSG* msg);
  // Called when the queue has run empty; true asks for another call before
  // the loop waits. The default frees temporary window wrappers.
  virtual bool OnIdle(long count);

  // The window the loop belongs to; the application does not own it.
  Window* mainWindow = nullptr;

 protected:
  int quitCode = 0;
};

// The program's application object: the one most recently constructed and
// not yet destroyed; null when there is none.
Application* GetApplication();
// The executable's file name without its extension; the caption of the
// framework's own message boxes.
std::string ApplicationName();
// The program's entry: StartWindowSystem, then InitInstance, Run or
// ExitInstance; the exit code.
int RunApplication(Application& application);

}  // namespace qm::fw
