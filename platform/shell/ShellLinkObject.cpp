#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Descriptor.h"
#include "platform/shell/ShellLink.h"
#include "platform/shell/Volume.h"

namespace qm::shell {

namespace {

// What the link records about its target, as a directory search reports
// it. A missing target is recorded as an archived file of size 0 with no
// times, as links to files not yet present are.
void DescribeTarget(ShellLinkData& link) {
  link.fileAttributes = FILE_ATTRIBUTE_ARCHIVE;
  link.fileSize = 0;
  link.creationTime = link.accessTime = link.writeTime = FILETIME{};
  if (link.target.size() >= 3 && link.target[1] == ':') link.volume = VolumeOf(link.target[0]);
  if (link.target.find_first_of("*?") != std::string::npos) return;
  WIN32_FIND_DATAA found;
  DWORD savedError = GetLastError();
  HANDLE search = FindFirstFileA(link.target.c_str(), &found);
  SetLastError(savedError);
  if (search == INVALID_HANDLE_VALUE) return;
  FindClose(search);
  link.fileAttributes = found.dwFileAttributes;
  link.fileSize = found.nFileSizeLow;
  link.creationTime = found.ftCreationTime;
  link.accessTime = found.ftLastAccessTime;
  link.writeTime = found.ftLastWriteTime;
}

HRESULT CopyOut(const std::string& value, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return E_INVALIDARG;
  std::size_t n = std::min(value.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return S_OK;
}

std::string Narrow(LPCSTR text) { return text ? text : ""; }

std::string WideName(LPCOLESTR name) {
  std::u16string wide;
  for (LPCOLESTR p = name; *p; ++p) wide += *p;
  return qm::kernel::Utf16ToUtf8(wide);
}

class ShellLinkObject final : public IShellLinkA, public IPersistFile {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IShellLinkA) {
      *object = static_cast<IShellLinkA*>(this);
    } else if (iid == IID_IPersistFile || iid == IID_IPersist) {
      *object = static_cast<IPersistFile*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override {
    ULONG left = --references;
    if (left == 0) delete this;
    return left;
  }

  HRESULT GetPath(LPSTR file, int size, WIN32_FIND_DATAA* findData, DWORD) override {
    if (findData) {
      std::memset(findData, 0, sizeof *findData);
      findData->dwFileAttributes = link.fileAttributes;
      findData->nFileSizeLow = link.fileSize;
      findData->ftCreationTime = link.creationTime;
      findData->ftLastAccessTime = link.accessTime;
      findData->ftLastWriteTime = link.writeTime;
      std::size_t slash = link.target.rfind('\\');
      CopyOut(slash == std::string::npos ? link.target : link.target.substr(slash + 1), findData->cFileName,
              MAX_PATH);
    }
    HRESULT result = CopyOut(link.target, file, size);
    return SUCCEEDED(result) && link.target.empty() ? S_FALSE : result;
  }
  HRESULT GetIDList(LPITEMIDLIST* list) override {
    if (!list) return E_INVALIDARG;
    *list = link.target.empty() ? nullptr : IdListFromPath(link.target);
    return *list ? S_OK : S_FALSE;
  }
  HRESULT SetIDList(LPCITEMIDLIST list) override {
    std::optional<std::string> path = PathFromIdList(list);
    if (!path) return E_INVALIDARG;
    return SetPath(path->c_str());
  }
  HRESULT GetDescription(LPSTR name, int size) override { return CopyOut(link.description, name, size); }
  HRESULT SetDescription(LPCSTR name) override { return Set(link.description, name); }
  HRESULT GetWorkingDirectory(LPSTR dir, int size) override { return CopyOut(link.workingDirectory, dir, size); }
  HRESULT SetWorkingDirectory(LPCSTR dir) override { return Set(link.workingDirectory, dir); }
  HRESULT GetArguments(LPSTR args, int size) override { return CopyOut(link.arguments, args, size); }
  HRESULT SetArguments(LPCSTR args) override { return Set(link.arguments, args); }
  HRESULT GetHotkey(WORD* hotkey) override {
    if (!hotkey) return E_INVALIDARG;
    *hotkey = link.hotKey;
    return S_OK;
  }
  HRESULT SetHotkey(WORD hotkey) override {
    link.hotKey = hotkey;
    dirty = true;
    return S_OK;
  }
  HRESULT GetShowCmd(int* showCmd) override {
    if (!showCmd) return E_INVALIDARG;
    *showCmd = link.showCommand;
    return S_OK;
  }
  HRESULT SetShowCmd(int showCmd) override {
    link.showCommand = showCmd;
    dirty = true;
    return S_OK;
  }
  HRESULT GetIconLocation(LPSTR iconPath, int size, int* iconIndex) override {
    if (!iconIndex) return E_INVALIDARG;
    *iconIndex = link.iconIndex;
    return CopyOut(link.iconLocation, iconPath, size);
  }
  HRESULT SetIconLocation(LPCSTR iconPath, int iconIndex) override {
    link.iconIndex = iconIndex;
    return Set(link.iconLocation, iconPath);
  }
  HRESULT SetRelativePath(LPCSTR relativePath, DWORD) override { return Set(link.relativePath, relativePath); }
  HRESULT Resolve(HWND, DWORD) override { return S_OK; }
  HRESULT SetPath(LPCSTR file) override {
    if (!file) return E_INVALIDARG;
    return Set(link.target, file);
  }

  HRESULT GetClassID(CLSID* classId) override {
    if (!classId) return E_POINTER;
    *classId = CLSID_ShellLink;
    return S_OK;
  }
  HRESULT IsDirty() override { return dirty ? S_OK : S_FALSE; }
  HRESULT Load(LPCOLESTR fileName, DWORD) override {
    if (!fileName) return E_INVALIDARG;
    std::string name = WideName(fileName);
    std::optional<ShellLinkData> loaded = ReadShellLink(name);
    if (!loaded) return E_FAIL;
    link = *loaded;
    currentFile = name;
    dirty = false;
    return S_OK;
  }
  HRESULT Save(LPCOLESTR fileName, BOOL remember) override {
    if (!fileName && currentFile.empty()) return E_INVALIDARG;
    std::string name = fileName ? WideName(fileName) : currentFile;
    std::optional<std::string> host = qm::kernel::ResolveWindowsPath(name);
    if (!host) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    // Windows refuses to replace a read-only file; a rename would not. A
    // link that is not there yet is no failure of the save.
    DWORD savedError = GetLastError();
    DWORD existing = GetFileAttributesA(name.c_str());
    SetLastError(savedError);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
      return E_ACCESSDENIED;
    ShellLinkData written = link;
    DescribeTarget(written);
    std::vector<BYTE> bytes = EncodeShellLink(written);
    if (!qm::kernel::host::WriteFileAtomically(
            *host, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
      return HRESULT_FROM_WIN32(qm::kernel::ErrorFromErrno(errno));
    if (remember || !fileName) {
      currentFile = name;
      dirty = false;
    }
    return S_OK;
  }
  HRESULT SaveCompleted(LPCOLESTR) override { return S_OK; }
  HRESULT GetCurFile(LPOLESTR* fileName) override {
    if (!fileName) return E_POINTER;
    std::u16string wide = qm::kernel::Utf8ToUtf16(currentFile);
    auto copy = static_cast<LPOLESTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    *fileName = copy;
    return currentFile.empty() ? S_FALSE : S_OK;
  }

 private:
  HRESULT Set(std::string& field, LPCSTR value) {
    field = Narrow(value);
    dirty = true;
    return S_OK;
  }

  std::atomic<ULONG> references{1};
  ShellLinkData link;
  std::string currentFile;
  bool dirty = false;
};

}  // namespace

HRESULT CreateShellLinkObject(REFIID iid, void** object) {
  auto* created = new ShellLinkObject;
  HRESULT result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

std::optional<ShellLinkData> ReadShellLink(const std::string& windowsPath) {
  std::optional<std::string> host = qm::kernel::ResolveWindowsPath(windowsPath);
  std::string content;
  if (!host || !qm::kernel::host::ReadWholeFile(*host, &content)) return std::nullopt;
  return DecodeShellLink(std::vector<BYTE>(content.begin(), content.end()));
}

}  // namespace qm::shell
