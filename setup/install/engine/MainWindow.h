// The installer's only frame window: it covers the screen with a blue
// gradient and the title, cannot be closed by the user, and drives the
// installation. The wizard runs as a modeless sheet owned by it; when the
// wizard's start page is confirmed, the sheet posts WM_START_INSTALLATION
// here and the copy runs inside that message's handler.
#pragma once

#include <string>

#include "platform/framework/DC.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/Window.h"

class CompleteSheet;
class Sheet;

class MainWindow : public qm::fw::Window {
 public:
  MainWindow();

  // A captioned window of the size of the maximized screen area.
  bool Create();
  // Draws the gradient and the title once, into an off-screen bitmap of the
  // client area's present size; paints copy from it from then on.
  void RenderBackground();
  // Opens the installation wizard, modeless and owned by this window.
  void OpenWizard();
  // Copies the game's trees under the progress dialog; ends the program
  // when the copy was cancelled or aborted.
  void OnStartInstallation();

  // ---- Completion: the completion sheet, the links and the end of the run.
  // Opens the completion sheet, modeless and owned by this window.
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

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint() override;
  // Never erased: the picture is always painted whole, so nothing flashes white.
  bool OnEraseBkgnd(HDC dc) override;
  // The user cannot close the installer's window at any stage.
  void OnClose() override;

 private:
  // Declared before the memory DC, which goes first and still holds them.
  qm::fw::Bitmap backgroundBitmap;
  qm::fw::Font titleFont;
  qm::fw::DC memoryDC;
  bool backgroundReady = false;
  bool finished = false;  // FinishInstallation has run
  // Lives until the program ends; never destroyed by this window.
  Sheet* wizardSheet = nullptr;
  CompleteSheet* completionSheet = nullptr;
  std::string caption;
};

// Enables (or disables) the named privilege in the process token; true when
// its state was set as asked.
bool EnablePrivilege(const char* name, bool enable);
