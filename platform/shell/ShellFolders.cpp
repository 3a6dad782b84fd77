#include "platform/shell/ShellFolders.h"

#include <cstring>
#include <filesystem>

#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shell/Com.h"

namespace {

std::string WindowsDirectory() {
  char buffer[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  return (n > 0 && n < MAX_PATH) ? std::string(buffer, n) : std::string("C:\\Windows");
}

// A special folder exists once asked for, as in a fresh profile.
void EnsureFolder(const std::string& windowsPath) {
  if (std::optional<std::string> host = qm::kernel::ResolveWindowsPath(windowsPath)) {
    std::error_code ignored;
    std::filesystem::create_directories(*host, ignored);
  }
}

}  // namespace

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) {
  (void)owner;
  if (!list) return E_INVALIDARG;
  *list = nullptr;
  std::string path;
  switch (folder) {
    case CSIDL_DESKTOP: *list = qm::shell::BuildIdList({}); break;
    case CSIDL_DRIVES: *list = qm::shell::BuildIdList({qm::shell::MyComputerItem()}); break;
    case CSIDL_PROGRAMS: path = WindowsDirectory() + "\\Start Menu\\Programs"; break;
    case CSIDL_DESKTOPDIRECTORY: path = qm::shell::DesktopDirectory(); break;
    default: return E_INVALIDARG;
  }
  if (!path.empty()) {
    EnsureFolder(path);
    *list = qm::shell::IdListFromPath(path);
  }
  return *list ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  if (!list || !path) return FALSE;
  path[0] = '\0';
  std::optional<std::string> found = qm::shell::PathFromIdList(list);
  if (!found || found->size() >= MAX_PATH) return FALSE;
  std::memcpy(path, found->c_str(), found->size() + 1);
  return TRUE;
}

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

std::string qm::shell::DesktopDirectory() { return WindowsDirectory() + "\\Desktop"; }
