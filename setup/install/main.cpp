// The installer's process entry. The application object is constructed at
// load, before the installation settings, which are destroyed first at exit.
#include "install/resources/InstallerResources.h"
#include "install/settings/InstallationSettings.h"
#include "install/startup/Installer.h"

namespace {

Installer installer;

}  // namespace

int main() {
  RegisterInstallerResources();
  Settings();
  qm::fw::RunApplication(installer);
  // Every run ends with 0, a refused start as well as a finished or
  // abandoned installation.
  return 0;
}
