// MainWindow: the installer's frame window, the hub of the installation run.
// For now it holds what the completion sheet needs of it; the window itself
// and the installation run come with the engine.
#pragma once

#include <string>

#include "platform/framework/Window.h"

class CompleteSheet;

class MainWindow : public qm::fw::Window {
 public:
  bool Create();

  // ---- Completion: the completion sheet, the links and the end of the run.
  void OpenCompletionSheet();
  // The program group "Quellmoor" with its four links in the Start menu's
  // programs folder; old links of the same names are replaced.
  void CreateProgramGroup();
  // "Quellmoor.lnk" on the desktop.
  void CreateDesktopLink();
  // Carries out the choices of the completion sheet in order (links, release
  // notes, web page, restart offer) and posts the quit message.
  void FinishInstallation();
  // Asks whether to restart when the DirectX step needs it, and restarts.
  void OfferRestart();

  std::string caption = "Install";
  CompleteSheet* completionSheet = nullptr;
};

// Enables (or disables) the named privilege in the process token; true when
// its state was set as asked.
bool EnablePrivilege(const char* name, bool enable);
