#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

WindowManager& Wm() {
  static WindowManager manager;
  return manager;
}

Window* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& windows = Wm().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

bool IsDesktop(HWND hwnd) { return hwnd && hwnd == GetDesktopWindow(); }

Window* FindOrDesktop(HWND hwnd) {
  if (IsDesktop(hwnd)) return Find(GetDesktopWindow());
  return Find(hwnd);
}

HWND RootOf(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->IsChild()) {
    Window* parent = Find(w->parent);
    if (!parent) break;
    w = parent;
  }
  return w ? w->handle : nullptr;
}

bool IsDescendant(HWND ancestor, HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->IsChild()) {
    if (w->parent == ancestor) return true;
    w = Find(w->parent);
  }
  return false;
}

bool IsShown(const Window& w) {
  const Window* current = &w;
  while (current) {
    if (!current->IsVisibleFlag()) return false;
    if (!current->IsChild()) return true;
    current = Find(current->parent);
  }
  return false;
}

bool AcceptsInput(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w) {
    if (w->style & WS_DISABLED) return false;
    if (!w->IsChild()) return true;
    w = Find(w->parent);
  }
  return false;
}

}  // namespace qm::ui::user
