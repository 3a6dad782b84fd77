// What the installer leaves in the current user's registry after a complete
// copy: where the game went, where it came from and which type was chosen,
// as string values under HKEY_CURRENT_USER\Software\ryk.
#pragma once

#include <string>

class InstallationRecord {
 public:
  std::string sourcePath;
  std::string destinationPath;
  std::string installationType;

  // Writes the three values; true when every one of them was written. A
  // failed value does not keep the others from being written.
  bool WriteToRegistry() const;
};

// Builds the record from the installation settings and writes it. The links
// page calls it on every activation; writing the same values again is
// harmless.
void RecordInstallation();
