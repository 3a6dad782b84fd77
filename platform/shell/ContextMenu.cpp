#include "platform/shell/ContextMenu.h"

#include <cstring>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/NameCase.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/NamespaceNodes.h"
#include "platform/ui/WinUser.h"

namespace qm::shell {

namespace {

constexpr UINT kOpen = 0;
constexpr const char* kOpenVerb = "open";

// Adds one command to a popup menu of the window system, greyed where the
// item cannot take it; false for a handle that is no menu.
bool InsertCommand(HMENU menu, UINT position, UINT id, const char* text, bool enabled) {
  return InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text) != FALSE;
}

class ItemContextMenu final : public ComObject<IContextMenu> {
 public:
  explicit ItemContextMenu(Node item) : item(std::move(item)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override { return AnswerFor(iid, IID_IContextMenu, object); }

  HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT) override {
    if (firstCommand + kOpen > lastCommand) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (!InsertCommand(menu, index, firstCommand + kOpen, "&Open", item.IsFileSystem()))
      return HRESULT_FROM_WIN32(ERROR_INVALID_MENU_HANDLE);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kOpen + 1);
  }

  HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO info) override {
    if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO)) return E_INVALIDARG;
    // A command offset comes as MAKEINTRESOURCEA(offset): offset 0 is null.
    bool open = IS_INTRESOURCE(info->lpVerb) ? LOWORD(reinterpret_cast<std::uintptr_t>(info->lpVerb)) == kOpen
                                             : qm::kernel::NamesEqualIgnoringCase(info->lpVerb, kOpenVerb);
    if (!open) return E_INVALIDARG;
    return Open();
  }

  HRESULT GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR name, UINT size) override {
    if (command != kOpen) return type == GCS_VALIDATEA ? S_FALSE : E_INVALIDARG;
    if (type == GCS_VALIDATEA) return S_OK;
    if (type != GCS_VERBA || !name || size == 0) return E_INVALIDARG;
    std::size_t n = std::min<std::size_t>(std::strlen(kOpenVerb), size - 1);
    std::memcpy(name, kOpenVerb, n);
    name[n] = '\0';
    return S_OK;
  }

 private:
  HRESULT Open() const {
    std::optional<std::string> path = item.IsFileSystem() ? NodePath(item) : std::nullopt;
    if (!path) return HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION);
    std::optional<std::string> host = qm::kernel::ResolveWindowsPath(*path);
    if (!host || GetFileAttributesA(path->c_str()) == INVALID_FILE_ATTRIBUTES)
      return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    if (!Launch({*path, {"xdg-open", *host}})) return HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION);
    return S_OK;
  }

  Node item;
};

}  // namespace

HRESULT NewContextMenu(const Node& item, REFIID iid, void** object) {
  *object = nullptr;
  if (iid != IID_IContextMenu && iid != IID_IUnknown) return E_NOINTERFACE;
  *object = static_cast<IContextMenu*>(new ItemContextMenu(item));
  return S_OK;
}

}  // namespace qm::shell
