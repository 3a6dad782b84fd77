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
  // Lives until the program ends; never destroyed by this window.
  Sheet* wizardSheet = nullptr;
  std::string caption;
};
