// Sheet: the installation wizard. Four pages in order: greetings, installation
// type, destination directory and the start page. The sheet runs modeless
// under the main window, which it tells about a cancel and about the start
// of the installation through the private messages.
#pragma once

#include <string>

#include "install/wizard/DestinationDirectoryDialog.h"
#include "install/wizard/GreetingsPage.h"
#include "install/wizard/InstallationType.h"
#include "install/wizard/StartInstallationPage.h"
#include "platform/framework/PropertySheet.h"

class Sheet : public qm::fw::PropertySheet {
 public:
  Sheet(const std::string& caption, qm::fw::Window* parent, UINT startPage);

  // The start page was confirmed: the sheet goes out of sight and the main
  // window runs the installation once this handler has returned.
  void StartInstallation();
  // Cancel on any page: asks whether to resume or to leave setup.
  void ConfirmExit();

  // Set by the destination page: the chosen drive holds less than the
  // installation needs.
  bool insufficientSpace = false;

  GreetingsPage greetingsPage;
  InstallationType installationTypePage;
  DestinationDirectoryDialog destinationPage;
  StartInstallationPage startInstallationPage;

 protected:
  // Only Cancel leaves the wizard: the close box, the system menu's Close and
  // Alt+F4 do nothing.
  void OnClose() override;
  // Coming back to the installer re-reads the free space of the destination
  // drive, which may have changed meanwhile.
  void OnActivate(UINT state, HWND other, bool minimized) override;
};
