// The installer's application object: it refuses to run beside another
// installer, makes sure the settings know the space the game needs, and
// hands over to the main window, which opens the wizard. From then on
// everything happens in the handlers of the main window and the wizard.
#pragma once

#include "platform/framework/Application.h"

class Installer : public qm::fw::Application {
 public:
  // The start-up sequence. False when another installer is running, or
  // when the installer's own folder cannot be read through a Windows path:
  // no window is made and the message loop is skipped.
  bool InitInstance() override;
  // The framework's own: the quit message's code, 0 after a refused start.
  int ExitInstance() override;

  // Reads install.cfg beside the installer and stores the sum of its sizes
  // in the settings' requiredSizeKb. False, with the settings untouched,
  // when the file cannot be opened.
  bool ReadConfiguration();
};
