// The installer's application object.
#pragma once

class Installer {
 public:
  // Reads install.cfg beside the installer and stores the sum of its sizes
  // in the settings' requiredSizeKb. False, with the settings untouched,
  // when the file cannot be opened.
  bool ReadConfiguration();
};
