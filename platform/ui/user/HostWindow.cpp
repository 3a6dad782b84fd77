#include "platform/ui/user/HostWindow.h"

#include <cstdint>
#include <string>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/gdi/Icons.h"
#include "platform/ui/user/WindowState.h"

namespace qm::ui::user {

namespace {

// What the display was last told, so that it is told only of changes; a new
// backend starts afresh.
struct Synced {
  const qm::ui::DisplayBackend* display = nullptr;
  bool titled = false;
  std::string title;
  HICON icon = nullptr;
};

Synced& LastSynced() {
  static Synced synced;
  return synced;
}

bool StandsForTheProgram(const Window& w) {
  return !w.IsChild() && !w.owner && w.IsVisibleFlag() && HasCaption(w) && !w.destroying &&
         !(w.exStyle & WS_EX_TOOLWINDOW);
}

}  // namespace

HWND HostMainWindow() {
  // Handles grow with every window made: the smallest is the oldest.
  HWND oldest = nullptr;
  for (HWND top : Wm().topLevels) {
    Window* w = Find(top);
    if (w && StandsForTheProgram(*w) && (!oldest || reinterpret_cast<std::uintptr_t>(top) < reinterpret_cast<std::uintptr_t>(oldest))) oldest = top;
  }
  return oldest;
}

void SyncHostWindow() {
  Window* w = Find(HostMainWindow());
  if (!w) return;
  qm::ui::DisplayBackend& display = qm::ui::Display();
  Synced& synced = LastSynced();
  if (synced.display != &display) {
    synced = Synced();
    synced.display = &display;
  }
  if (!synced.titled || synced.title != w->text) {
    synced.titled = true;
    synced.title = w->text;
    display.SetTitle(w->text);
  }
  const WNDCLASSEXA& info = w->windowClass->info;
  HICON icon = info.hIcon ? info.hIcon : info.hIconSm;
  if (icon != synced.icon) {
    synced.icon = icon;
    if (const qm::ui::Surface* image = qm::ui::gdi::IconImage(icon)) display.SetIcon(*image);
  }
}

void HostWindowRestored() {
  HWND main = HostMainWindow();
  if (main && IsIconic(main)) PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
}

}  // namespace qm::ui::user
