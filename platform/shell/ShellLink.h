// The shell link object: IShellLinkA to describe a link, IPersistFile to
// save it as a .lnk file (or load one), created with CoCreateInstance.
#pragma once

#include <optional>
#include <string>

#include "platform/kernel/FileApi.h"
#include "platform/shell/Com.h"
#include "platform/shell/IdList.h"
#include "platform/shell/LinkFormat.h"
#include "platform/shell/Volume.h"

inline constexpr CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPersist = {0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

constexpr DWORD SLGP_SHORTPATH = 0x1;
constexpr DWORD SLGP_UNCPRIORITY = 0x2;
constexpr DWORD SLGP_RAWPATH = 0x4;

struct IShellLinkA : IUnknown {
  virtual HRESULT GetPath(LPSTR file, int size, WIN32_FIND_DATAA* findData, DWORD flags) = 0;
  virtual HRESULT GetIDList(LPITEMIDLIST* list) = 0;
  virtual HRESULT SetIDList(LPCITEMIDLIST list) = 0;
  virtual HRESULT GetDescription(LPSTR name, int size) = 0;
  virtual HRESULT SetDescription(LPCSTR name) = 0;
  virtual HRESULT GetWorkingDirectory(LPSTR dir, int size) = 0;
  virtual HRESULT SetWorkingDirectory(LPCSTR dir) = 0;
  virtual HRESULT GetArguments(LPSTR args, int size) = 0;
  virtual HRESULT SetArguments(LPCSTR args) = 0;
  virtual HRESULT GetHotkey(WORD* hotkey) = 0;
  virtual HRESULT SetHotkey(WORD hotkey) = 0;
  virtual HRESULT GetShowCmd(int* showCmd) = 0;
  virtual HRESULT SetShowCmd(int showCmd) = 0;
  virtual HRESULT GetIconLocation(LPSTR iconPath, int size, int* iconIndex) = 0;
  virtual HRESULT SetIconLocation(LPCSTR iconPath, int iconIndex) = 0;
  virtual HRESULT SetRelativePath(LPCSTR relativePath, DWORD reserved) = 0;
  virtual HRESULT Resolve(HWND window, DWORD flags) = 0;
  virtual HRESULT SetPath(LPCSTR file) = 0;

 protected:
  ~IShellLinkA() = default;
};

struct IPersist : IUnknown {
  virtual HRESULT GetClassID(CLSID* classId) = 0;

 protected:
  ~IPersist() = default;
};

struct IPersistFile : IPersist {
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(LPCOLESTR fileName, DWORD mode) = 0;
  // Replaces an existing link atomically; fails with E_ACCESSDENIED when the
  // existing file is read-only.
  virtual HRESULT Save(LPCOLESTR fileName, BOOL remember) = 0;
  virtual HRESULT SaveCompleted(LPCOLESTR fileName) = 0;
  virtual HRESULT GetCurFile(LPOLESTR* fileName) = 0;

 protected:
  ~IPersistFile() = default;
};

namespace qm::shell {

HRESULT CreateShellLinkObject(REFIID iid, void** object);

// Reads a link file back (a Windows path), for whoever needs to check one.
std::optional<ShellLinkData> ReadShellLink(const std::string& windowsPath);

}  // namespace qm::shell
