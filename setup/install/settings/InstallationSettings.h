// The one record of the installation: where the game comes from and goes to,
// the user's choices, what the DirectX probe found and how much disk space
// the game needs. The wizard pages write into it and the engine reads from it
// directly; it is reached through Settings() and never copied.
#pragma once

#include <cstdint>
#include <string>

class InstallationSettings {
 public:
  InstallationSettings(const InstallationSettings&) = delete;
  InstallationSettings& operator=(const InstallationSettings&) = delete;

  // Sets requiredSizeKb from the db, bin and doc source trees.
  void MeasureRequiredSize();

  std::string GetStartExePath() const;
  std::string GetSetupExePath() const;
  std::string GetUninstallDirectory() const;
  std::string GetUninstallExePath() const;
  std::string GetReadmePath() const;

  // Asks the DirectX setup library for the installed version; the last step
  // of construction.
  void ProbeDirectX();
  // Runs the DirectX runtime setup from directxPath; true when DirectX was
  // installed, with or without a restart to follow.
  bool RunDirectXSetup();

  // Discards the record so that the next Settings() builds a fresh one from
  // the current executable path and DirectX state. Start-up code that must
  // point the platform somewhere first, and tests, use it.
  static void Reset();

  std::string destinationPath;
  std::string sourcePath;
  std::string binPath;
  std::string dbPath;
  std::string docPath;
  std::string directxPath;
  std::string installerDirectory;
  std::string installationType;
  bool createProgramGroup = true;
  bool createDesktopLink = true;
  bool viewReleaseNotes = false;
  bool visitWebPage = false;
  bool directXNeeded = false;
  bool restartNeeded = false;
  std::uint32_t requiredSizeKb = 0;

 private:
  InstallationSettings();
  friend InstallationSettings& Settings();
};

// The installation settings, built on first use.
InstallationSettings& Settings();

// The directory of the running executable with its trailing backslash, or
// the empty string when it cannot be determined.
std::string GetInstallerDirectory();

// Removes one trailing backslash, if there is one.
void RemoveTrailingBackslash(std::string& path);
