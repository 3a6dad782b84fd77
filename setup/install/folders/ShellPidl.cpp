#include "install/folders/ShellPidl.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/framework/Application.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/Utf8.h"
#include "platform/shell/ContextMenu.h"
#include "platform/shell/FileInfo.h"
#include "platform/ui/WinUser.h"

namespace {

WORD CountAt(const void* item) {
  auto bytes = static_cast<const BYTE*>(item);
  return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

// Copies text into a name of MAX_PATH characters. A longer name is cut at
// the last whole character that fits, so no half character ends it.
void CopyName(const std::string& text, char* name) {
  std::size_t n = text.size() > MAX_PATH - 1 ? qm::kernel::Utf8BoundaryAtOrBefore(text, MAX_PATH - 1) : text.size();
  std::memcpy(name, text.data(), n);
  name[n] = '\0';
}

// The whole display name the folder gives, whatever its kind; a wide name is
// returned to the task allocator once read.
bool ReadDisplayName(LPSHELLFOLDER folder, LPCITEMIDLIST relative, DWORD flags, std::string* text) {
  STRRET name;
  if (!folder || !relative || FAILED(folder->GetDisplayNameOf(relative, flags, &name))) return false;
  switch (name.uType) {
    case STRRET_WSTR: {
      if (!name.pOleStr) return false;
      int size = WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, nullptr, 0, nullptr, nullptr);
      bool converted = size > 0;
      if (converted) {
        text->assign(static_cast<std::size_t>(size), '\0');
        converted = WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text->data(), size, nullptr, nullptr) == size;
        text->resize(static_cast<std::size_t>(size) - 1);
      }
      CoTaskMemFree(name.pOleStr);
      return converted;
    }
    case STRRET_OFFSET: {
      // The text lies inside the list; it is never read past the list's end.
      std::size_t size = ShellPidl().IdListSize(relative);
      if (name.uOffset >= size) return false;
      const char* start = reinterpret_cast<const char*>(relative) + name.uOffset;
      text->assign(start, strnlen(start, size - name.uOffset));
      return true;
    }
    case STRRET_CSTR: text->assign(name.cStr, strnlen(name.cStr, sizeof name.cStr)); return true;
    default: return false;
  }
}

// The failure of a shell call, with its code, in an application message box.
void ShowFailure(HWND owner, const char* format, HRESULT code) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<unsigned long>(static_cast<DWORD>(code)));
  MessageBoxA(owner, text, qm::fw::ApplicationName().c_str(), MB_OK);
}

}  // namespace

LPITEMIDLIST ShellPidl::NextItemId(LPCITEMIDLIST item) const {
  auto bytes = reinterpret_cast<const BYTE*>(item);
  return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(bytes + CountAt(item)));
}

UINT ShellPidl::IdListSize(LPCITEMIDLIST list) const {
  if (!list) return 0;
  UINT size = sizeof(WORD);
  for (LPCITEMIDLIST item = list; CountAt(item) != 0; item = NextItemId(item)) size += CountAt(item);
  return size;
}

LPITEMIDLIST ShellPidl::AllocIdList(UINT size) const {
  LPMALLOC allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator))) return nullptr;
  void* block = allocator->Alloc(size);
  if (block) std::memset(block, 0, size);
  allocator->Release();
  return static_cast<LPITEMIDLIST>(block);
}

LPITEMIDLIST ShellPidl::JoinIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) const {
  UINT firstBytes = first ? IdListSize(first) - sizeof(WORD) : 0;
  UINT secondBytes = second ? IdListSize(second) : sizeof(WORD);
  LPITEMIDLIST list = AllocIdList(firstBytes + secondBytes);
  if (!list) return nullptr;
  auto bytes = reinterpret_cast<BYTE*>(list);
  if (first) std::memcpy(bytes, first, firstBytes);
  // Without a second list the zero-filled block already ends in a terminator.
  if (second) std::memcpy(bytes + firstBytes, second, secondBytes);
  return list;
}

LPITEMIDLIST ShellPidl::CopyFirstItemId(LPMALLOC allocator, LPCITEMIDLIST list) const {
  if (!allocator || !list) return nullptr;
  WORD count = CountAt(list);
  auto copy = static_cast<BYTE*>(allocator->Alloc(count + sizeof(WORD)));
  if (!copy) return nullptr;
  std::memcpy(copy, list, count);
  // The item's own terminator: what follows it in the list may be another item.
  copy[count] = copy[count + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(copy);
}

bool ShellPidl::GetItemName(LPSHELLFOLDER folder, LPCITEMIDLIST relative, DWORD flags, char* name) const {
  if (!name) return false;
  name[0] = '\0';
  std::string text;
  if (!ReadDisplayName(folder, relative, flags, &text)) return false;
  CopyName(text, name);
  return true;
}

LPITEMIDLIST ShellPidl::ParseToIdList(LPSHELLFOLDER folder, LPCITEMIDLIST relative) const {
  // The whole parsing name: a path cut short could name another folder.
  std::string name;
  if (!ReadDisplayName(folder, relative, SHGDN_FORPARSING, &name)) return nullptr;
  int size = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (size <= 0) return nullptr;
  std::u16string wide(static_cast<std::size_t>(size), u'\0');
  if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), size) != size) return nullptr;
  LPSHELLFOLDER desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return nullptr;
  ULONG eaten = 0, attributes = 0;
  LPITEMIDLIST list = nullptr;
  HRESULT parsed = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &list, &attributes);
  desktop->Release();
  return SUCCEEDED(parsed) ? list : nullptr;
}

bool ShellPidl::RunContextMenu(HWND owner, LPSHELLFOLDER folder, LPCITEMIDLIST relative, POINT point) const {
  (void)point;
  if (!folder || !relative) return false;
  LPCONTEXTMENU menu = nullptr;
  LPCITEMIDLIST items[] = {relative};
  HRESULT made = folder->GetUIObjectOf(owner, 1, items, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu));
  if (FAILED(made)) {
    ShowFailure(owner, "GetUIObjectOf failed! hr=%lx", made);
    return false;
  }
  menu->Release();
  return false;
}

int ShellPidl::GetItemIcon(LPCITEMIDLIST absolute, UINT flags) const {
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, flags);
  return info.iIcon;
}
