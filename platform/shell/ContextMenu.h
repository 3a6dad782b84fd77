// The context menu of a namespace item (IShellFolder::GetUIObjectOf with
// IID_IContextMenu): "&Open" opens a file-system folder (or file) in the
// host's file manager through the launcher (Launcher.h); for My Computer,
// which the host cannot open, the command is there but greyed.
#pragma once

#include "platform/kernel/LastError.h"
#include "platform/shell/Com.h"

inline constexpr IID IID_IContextMenu = {0x000214E4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// QueryContextMenu
constexpr UINT CMF_NORMAL = 0x0000;
constexpr UINT CMF_DEFAULTONLY = 0x0001;
constexpr UINT CMF_VERBSONLY = 0x0002;
constexpr UINT CMF_EXPLORE = 0x0004;

// GetCommandString
constexpr UINT GCS_VERBA = 0x0000;
constexpr UINT GCS_HELPTEXTA = 0x0001;
constexpr UINT GCS_VALIDATEA = 0x0002;

// How InvokeCommand fails besides E_INVALIDARG (no such command, a record
// too small): the item's path is gone (ERROR_PATH_NOT_FOUND), nothing on the
// host can open it, or it has no path (ERROR_NO_ASSOCIATION); and how
// QueryContextMenu fails: the menu handle takes no items
// (ERROR_INVALID_MENU_HANDLE). The codes are those of LastError.h.

struct CMINVOKECOMMANDINFO {
  DWORD cbSize;  // sizeof(CMINVOKECOMMANDINFO); a smaller record is refused
  DWORD fMask;
  HWND hwnd;
  LPCSTR lpVerb;  // a command offset (MAKEINTRESOURCEA) or a verb ("open")
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  DWORD dwHotKey;
  HANDLE hIcon;
};
using LPCMINVOKECOMMANDINFO = CMINVOKECOMMANDINFO*;

struct IContextMenu : IUnknown {
  // Inserts the item's commands at index with ids from firstCommand on (at
  // most lastCommand); answers a success code whose low 16 bits are the
  // largest offset used plus one.
  virtual HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT flags) = 0;
  virtual HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO info) = 0;
  virtual HRESULT GetCommandString(UINT_PTR command, UINT type, UINT* reserved, LPSTR name, UINT size) = 0;

 protected:
  ~IContextMenu() = default;
};
using LPCONTEXTMENU = IContextMenu*;
