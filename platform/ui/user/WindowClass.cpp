// Window classes: one table for the whole process, names compared without
// regard to case.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/kernel/LastError.h"
#include "platform/ui/user/WindowState.h"

namespace {

std::string ClassKey(LPCSTR name) {
  std::string key;
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  for (const char* p = name; *p; ++p) key += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  return key;
}

}  // namespace

namespace qm::ui::user {

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
  if (!name) return nullptr;
  auto& classes = Wm().classes;
  auto it = classes.find(ClassKey(name));
  return it == classes.end() ? nullptr : it->second;
}

}  // namespace qm::ui::user

using namespace qm::ui::user;

ATOM RegisterClassExA(const WNDCLASSEXA* wndClass) {
  if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc || wndClass->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string key = ClassKey(wndClass->lpszClassName);
  auto& classes = Wm().classes;
  if (classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto record = std::make_shared<WindowClass>();
  record->info = *wndClass;
  record->name = IS_INTRESOURCE(wndClass->lpszClassName) ? key : std::string(wndClass->lpszClassName);
  record->info.lpszClassName = record->name.c_str();
  record->info.lpszMenuName = nullptr;
  classes[key] = record;
  return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto& classes = Wm().classes;
  auto it = classes.find(ClassKey(className));
  if (it == classes.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  for (auto& [handle, window] : Wm().windows)
    if (window->windowClass == it->second) return FALSE;  // still in use
  classes.erase(it);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* wndClass) {
  auto record = FindClass(className);
  if (!record) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  if (wndClass) *wndClass = record->info;
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR className, int maxCount) {
  Window* w = Find(hwnd);
  if (!w || !className || maxCount <= 0) return 0;
  const std::string& name = w->windowClass->name;
  int count = std::min<int>(static_cast<int>(name.size()), maxCount - 1);
  std::memcpy(className, name.data(), count);
  className[count] = '\0';
  return count;
}
