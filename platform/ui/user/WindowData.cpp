// What a window holds: styles, ids, procedures, extra bytes, text, and its
// place among its relatives.
#include <algorithm>
#include <cstring>

#include "platform/kernel/LastError.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

bool ExtraFits(const Window& w, int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) + size <= w.extra.size();
}

void RestyleChanged(Window& w) { InvalidateTree(w, true); }

}  // namespace

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = FindOrDesktop(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent : w->owner);
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    case GWLP_ID: return static_cast<LONG_PTR>(w->id);
    default: break;
  }
  if (!ExtraFits(*w, index, sizeof(LONG_PTR))) {
    SetLastError(1413);  // ERROR_INVALID_INDEX
    return 0;
  }
  LONG_PTR value;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR previous = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return previous;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return previous;
    case GWLP_HWNDPARENT:
      if (!w->IsChild()) w->owner = RootOf(reinterpret_cast<HWND>(value));
      return previous;
    case GWL_STYLE: {
      DWORD visible = w->style & WS_VISIBLE;
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | visible;
      RestyleChanged(*w);
      return previous;
    }
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); RestyleChanged(*w); return previous;
    case GWLP_USERDATA: w->userData = value; return previous;
    case GWLP_ID: w->id = static_cast<UINT_PTR>(value); return previous;
    default: break;
  }
  if (!ExtraFits(*w, index, sizeof(LONG_PTR))) {
    SetLastError(1413);
    return 0;
  }
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return previous;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  if (index >= 0) {
    Window* w = Find(hwnd);
    if (!w || !ExtraFits(*w, index, sizeof(LONG))) return 0;
    LONG value;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
  }
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  if (index >= 0) {
    Window* w = Find(hwnd);
    if (!w || !ExtraFits(*w, index, sizeof(LONG))) return 0;
    LONG previous;
    std::memcpy(&previous, w->extra.data() + index, sizeof previous);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return previous;
  }
  // Style words are unsigned on the host side; keep all 32 bits.
  if (index == GWL_STYLE || index == GWL_EXSTYLE)
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(static_cast<DWORD>(value))));
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!Find(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
  if (!text || maxCount <= 0) return 0;
  text[0] = '\0';
  if (!Find(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, maxCount, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!Find(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL IsChild(HWND parent, HWND hwnd) { return IsDescendant(parent, hwnd) ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  return w->IsChild() ? w->parent : w->owner;
}

HWND GetAncestorRoot(HWND hwnd) { return RootOf(hwnd); }

HWND GetTopWindow(HWND parent) {
  if (!parent || IsDesktop(parent)) return Wm().topLevels.empty() ? nullptr : Wm().topLevels.front();
  Window* w = Find(parent);
  return (w && !w->children.empty()) ? w->children.front() : nullptr;
}

HWND GetWindow(HWND hwnd, UINT command) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (command == GW_OWNER) return w->IsChild() ? nullptr : w->owner;
  const std::vector<HWND>* siblings = &Wm().topLevels;
  if (w->IsChild()) {
    Window* parent = Find(w->parent);
    if (!parent) return nullptr;
    siblings = &parent->children;
  }
  if (siblings->empty()) return nullptr;
  auto it = std::find(siblings->begin(), siblings->end(), hwnd);
  switch (command) {
    case GW_HWNDFIRST: return siblings->front();
    case GW_HWNDLAST: return siblings->back();
    case GW_HWNDNEXT: return (it == siblings->end() || it + 1 == siblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == siblings->end() || it == siblings->begin()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
  std::vector<HWND> tops = Wm().topLevels;
  for (HWND top : tops)
    if (Find(top) && !callback(top, param)) return FALSE;
  return TRUE;
}

namespace {

bool EnumDescendants(HWND parent, WNDENUMPROC callback, LPARAM param) {
  Window* w = Find(parent);
  if (!w) return true;
  std::vector<HWND> children = w->children;
  for (HWND child : children) {
    if (!Find(child)) continue;
    if (!callback(child, param)) return false;
    if (!EnumDescendants(child, callback, param)) return false;
  }
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param) {
  if (!parent || IsDesktop(parent)) return EnumWindows(callback, param);
  return EnumDescendants(parent, callback, param) ? TRUE : FALSE;
}
