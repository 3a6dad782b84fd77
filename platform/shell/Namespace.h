// The shell namespace: the desktop at its root, My Computer first below it
// holding one item per mapped drive, the desktop directory's folders and
// files beside it, and below each drive its folders and files. Folders are
// IShellFolder objects over item identifier lists (IdList.h); a folder's
// items are enumerated with IEnumIDList, named, compared, asked for their
// attributes, bound to as folders and given context menus (ContextMenu.h).
#pragma once

#include <cstddef>

#include "platform/shell/Com.h"
#include "platform/shell/IdList.h"

inline constexpr IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr CLSID CLSID_MyComputer = {0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};

constexpr HRESULT MAKE_HRESULT(unsigned severity, unsigned facility, unsigned code) {
  return static_cast<HRESULT>((severity << 31) | (facility << 16) | code);
}
constexpr unsigned SEVERITY_SUCCESS = 0;
constexpr unsigned SEVERITY_ERROR = 1;

// EnumObjects: what to list. Hidden items (a leading dot on the host) only
// with SHCONTF_INCLUDEHIDDEN.
using SHCONTF = DWORD;
constexpr SHCONTF SHCONTF_FOLDERS = 0x0020;
constexpr SHCONTF SHCONTF_NONFOLDERS = 0x0040;
constexpr SHCONTF SHCONTF_INCLUDEHIDDEN = 0x0080;

// GetAttributesOf. SFGAO_HASSUBFOLDER is looked for only when asked for.
using SFGAOF = ULONG;
constexpr SFGAOF SFGAO_READONLY = 0x00040000;
constexpr SFGAOF SFGAO_HIDDEN = 0x00080000;
constexpr SFGAOF SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr SFGAOF SFGAO_FOLDER = 0x20000000;
constexpr SFGAOF SFGAO_FILESYSTEM = 0x40000000;
constexpr SFGAOF SFGAO_HASSUBFOLDER = 0x80000000;

// GetDisplayNameOf: the name a user sees (SHGDN_NORMAL), within its folder
// (SHGDN_INFOLDER), or the parsing name (SHGDN_FORPARSING: a path for
// file-system items) that ParseDisplayName takes back.
using SHGDNF = DWORD;
constexpr SHGDNF SHGDN_NORMAL = 0x0000;
constexpr SHGDNF SHGDN_INFOLDER = 0x0001;
constexpr SHGDNF SHGDN_FOREDITING = 0x1000;
constexpr SHGDNF SHGDN_FORADDRESSBAR = 0x4000;
constexpr SHGDNF SHGDN_FORPARSING = 0x8000;

// A name as GetDisplayNameOf answers it: wide text in task memory that the
// caller frees with CoTaskMemFree (STRRET_WSTR), a byte offset from the start
// of the identifier list asked about to narrow text inside it
// (STRRET_OFFSET), or narrow text held in the record (STRRET_CSTR).
constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
  UINT uType;
  union {
    LPWSTR pOleStr;
    UINT uOffset;
    char cStr[MAX_PATH];
  };
};

struct IBindCtx;

struct IEnumIDList : IUnknown {
  // Each list handed out is single-level, in task memory, freed by the
  // caller. S_FALSE when fewer than count were left.
  virtual HRESULT Next(ULONG count, LPITEMIDLIST* lists, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumIDList** copy) = 0;

 protected:
  ~IEnumIDList() = default;
};

// Relative lists name items below the folder; they may be several levels
// deep except where a method says single-level.
struct IShellFolder : IUnknown {
  // A path below the folder (the desktop takes full paths, X:\a\b, and My
  // Computer's parsing name) to the list of an existing item, its names as
  // the folder spells them.
  virtual HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, LPWSTR name, ULONG* eaten,
                                   LPITEMIDLIST* list, ULONG* attributes) = 0;
  virtual HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** enumerator) = 0;
  virtual HRESULT BindToObject(LPCITEMIDLIST relative, IBindCtx* bindContext, REFIID iid, void** object) = 0;
  virtual HRESULT BindToStorage(LPCITEMIDLIST relative, IBindCtx* bindContext, REFIID iid, void** object) = 0;
  // The order of two items as the low 16 bits of a success code, read as a
  // signed number: My Computer, then drives by letter, then folders, then
  // files, names compared without regard to case.
  virtual HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) = 0;
  virtual HRESULT CreateViewObject(HWND owner, REFIID iid, void** object) = 0;
  // in: the attributes asked about; out: those of them that all the
  // (single-level) items have.
  virtual HRESULT GetAttributesOf(UINT count, LPCITEMIDLIST* lists, SFGAOF* attributes) = 0;
  virtual HRESULT GetUIObjectOf(HWND owner, UINT count, LPCITEMIDLIST* lists, REFIID iid, UINT* reserved,
                                void** object) = 0;
  virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST relative, SHGDNF flags, STRRET* name) = 0;
  virtual HRESULT SetNameOf(HWND owner, LPCITEMIDLIST relative, LPCWSTR name, SHGDNF flags,
                            LPITEMIDLIST* newList) = 0;

 protected:
  ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

HRESULT SHGetDesktopFolder(IShellFolder** desktop);

namespace qm::shell {

// How often the namespace has read the host: folders listed (EnumObjects)
// and folders looked into for a subfolder (SFGAO_HASSUBFOLDER).
struct NamespaceReads {
  std::size_t folderListings = 0;
  std::size_t subfolderProbes = 0;
};
NamespaceReads NamespaceReadCount();

}  // namespace qm::shell
