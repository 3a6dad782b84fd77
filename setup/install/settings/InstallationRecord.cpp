#include "install/settings/InstallationRecord.h"

#include "install/settings/InstallationSettings.h"
#include "platform/registry/Registry.h"
#include "platform/ui/WinUser.h"

namespace {

// The data is the whole string and its terminating zero. Values are written
// at their full length: a path cut short would record a place the game is
// not in.
bool WriteString(HKEY key, LPCSTR name, const std::string& value) {
  const DWORD size = static_cast<DWORD>(value.size() + 1);
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size) == ERROR_SUCCESS;
}

}  // namespace

bool InstallationRecord::WriteToRegistry() const {
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &software) != ERROR_SUCCESS) {
    MessageBoxA(nullptr, "open key", "Error", MB_ICONERROR | MB_OK);
    return false;
  }
  HKEY ryk = nullptr;
  DWORD disposition = 0;
  char noClass[] = "";
  if (RegCreateKeyExA(software, "ryk", 0, noClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &ryk,
                      &disposition) != ERROR_SUCCESS) {
    RegCloseKey(software);
    return false;
  }
  bool written = true;
  written = WriteString(ryk, "destinationPath", destinationPath) && written;
  written = WriteString(ryk, "sourcePath", sourcePath) && written;
  written = WriteString(ryk, "installationType", installationType) && written;
  RegCloseKey(ryk);
  RegCloseKey(software);
  return written;
}

void RecordInstallation() {
  const InstallationSettings& settings = Settings();
  InstallationRecord record;
  record.destinationPath = settings.destinationPath;
  record.sourcePath = settings.sourcePath;
  RemoveTrailingBackslash(record.sourcePath);
  record.installationType = settings.installationType;
  record.WriteToRegistry();
}
