// The namespace's COM objects: a folder (IShellFolder) over a node, and the
// enumerator of a folder's items (IEnumIDList).
#include <cstring>
#include <memory>

#include "platform/kernel/CodePage.h"
#include "platform/shell/NamespaceNodes.h"

namespace qm::shell {

namespace {

class ItemEnumerator final : public ComObject<IEnumIDList> {
 public:
  explicit ItemEnumerator(std::shared_ptr<const std::vector<ItemBytes>> items, std::size_t next = 0)
      : items(std::move(items)), next(next) {}

  HRESULT QueryInterface(REFIID iid, void** object) override { return AnswerFor(iid, IID_IEnumIDList, object); }

  HRESULT Next(ULONG count, LPITEMIDLIST* lists, ULONG* fetched) override {
    if (!lists || (count > 1 && !fetched)) return E_INVALIDARG;
    ULONG given = 0;
    while (given < count && next < items->size()) {
      lists[given] = BuildIdList({(*items)[next]});
      if (!lists[given]) {
        while (given > 0) CoTaskMemFree(lists[--given]);
        if (fetched) *fetched = 0;
        return E_OUTOFMEMORY;
      }
      ++given;
      ++next;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    std::size_t left = items->size() - next;
    next += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    next = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumIDList** copy) override {
    if (!copy) return E_POINTER;
    *copy = new ItemEnumerator(items, next);
    return S_OK;
  }

 private:
  std::shared_ptr<const std::vector<ItemBytes>> items;
  std::size_t next;
};

// Where the name of the last item of a relative list starts in that list.
UINT NameOffset(LPCITEMIDLIST relative) {
  auto bytes = reinterpret_cast<const BYTE*>(relative);
  UINT at = 0, last = 0;
  while (WORD count = ItemCountAt(bytes + at)) {
    last = at;
    at += count;
  }
  return last + static_cast<UINT>(kItemNameOffset);
}

HRESULT AnswerWide(const std::string& text, STRRET* name) {
  std::u16string wide = qm::kernel::Utf8ToUtf16(text);
  auto copy = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
  name->uType = STRRET_WSTR;
  name->pOleStr = copy;
  return S_OK;
}

class ShellFolderObject final : public ComObject<IShellFolder> {
 public:
  explicit ShellFolderObject(Node node) : node(std::move(node)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override { return AnswerFor(iid, IID_IShellFolder, object); }

  HRESULT ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten, LPITEMIDLIST* list,
                           ULONG* attributes) override {
    if (!list) return E_INVALIDARG;
    *list = nullptr;
    if (!name) return E_INVALIDARG;
    std::u16string wide(name);
    Node found;
    HRESULT parsed = ParseBelow(node, qm::kernel::Utf16ToUtf8(wide), &found);
    if (FAILED(parsed)) return parsed;
    *list = BuildIdList(
        std::vector<ItemBytes>(found.items.begin() + static_cast<std::ptrdiff_t>(node.items.size()), found.items.end()));
    if (!*list) return E_OUTOFMEMORY;
    if (eaten) *eaten = static_cast<ULONG>(wide.size());
    if (attributes) *attributes = NodeAttributes(found, *attributes);
    return S_OK;
  }

  HRESULT EnumObjects(HWND, SHCONTF flags, IEnumIDList** enumerator) override {
    if (!enumerator) return E_INVALIDARG;
    *enumerator = nullptr;
    auto children = std::make_shared<std::vector<ItemBytes>>();
    HRESULT listed = ListChildren(node, flags, children.get());
    if (FAILED(listed)) return listed;
    *enumerator = new ItemEnumerator(std::move(children));
    return S_OK;
  }

  HRESULT BindToObject(LPCITEMIDLIST relative, IBindCtx*, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!relative || ItemCountAt(relative) == 0) return E_INVALIDARG;
    std::optional<Node> target = Descend(node, relative);
    if (!target) return E_INVALIDARG;
    if (!target->IsFolder() || (iid != IID_IShellFolder && iid != IID_IUnknown)) return E_NOINTERFACE;
    *object = NewFolderObject(std::move(*target));
    return S_OK;
  }

  HRESULT BindToStorage(LPCITEMIDLIST, IBindCtx*, REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT CompareIDs(LPARAM, LPCITEMIDLIST first, LPCITEMIDLIST second) override {
    std::optional<Node> a = Descend(node, first), b = Descend(node, second);
    if (!a || !b) return E_INVALIDARG;
    std::size_t level = node.items.size();
    int order = 0;
    while (order == 0 && level < a->items.size() && level < b->items.size()) {
      order = CompareItems(a->items[level], b->items[level]);
      ++level;
    }
    if (order == 0 && a->items.size() != b->items.size()) order = a->items.size() < b->items.size() ? -1 : 1;
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<WORD>(static_cast<short>(order)));
  }

  HRESULT CreateViewObject(HWND, REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT GetAttributesOf(UINT count, LPCITEMIDLIST* lists, SFGAOF* attributes) override {
    if (!attributes) return E_INVALIDARG;
    if (count == 0) {
      *attributes = NodeAttributes(node, *attributes);
      return S_OK;
    }
    if (!lists) return E_INVALIDARG;
    SFGAOF common = *attributes;
    for (UINT i = 0; i < count; ++i) {
      std::optional<Node> item = lists[i] ? Descend(node, lists[i]) : std::nullopt;
      if (!item || item->items.size() == node.items.size()) return E_INVALIDARG;
      // Only what all the earlier items have is still worth asking about.
      common = NodeAttributes(*item, common);
    }
    *attributes = common;
    return S_OK;
  }

  HRESULT GetUIObjectOf(HWND, UINT count, LPCITEMIDLIST* lists, REFIID iid, UINT*, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (count != 1 || !lists || !lists[0]) return E_INVALIDARG;
    std::optional<Node> item = Descend(node, lists[0]);
    if (!item || item->items.size() == node.items.size()) return E_INVALIDARG;
    return NewContextMenu(*item, iid, object);
  }

  HRESULT GetDisplayNameOf(LPCITEMIDLIST relative, SHGDNF flags, STRRET* name) override {
    if (!name || !relative) return E_INVALIDARG;
    std::optional<Node> item = Descend(node, relative);
    if (!item) return E_INVALIDARG;
    std::string text = NodeName(*item, flags);
    bool parsing = flags & SHGDN_FORPARSING;
    bool named = item->items.size() > node.items.size();
    // A folder's or file's own name is read where the item keeps it.
    if (named && (item->kind == NodeKind::Folder || item->kind == NodeKind::File) &&
        (!parsing || (flags & SHGDN_INFOLDER))) {
      name->uType = STRRET_OFFSET;
      name->uOffset = NameOffset(relative);
      return S_OK;
    }
    if (!parsing && (item->kind == NodeKind::Desktop || item->kind == NodeKind::MyComputer)) {
      name->uType = STRRET_CSTR;
      std::memset(name->cStr, 0, sizeof name->cStr);
      std::memcpy(name->cStr, text.data(), std::min(text.size(), sizeof name->cStr - 1));
      return S_OK;
    }
    return AnswerWide(text, name);
  }

  HRESULT SetNameOf(HWND, LPCITEMIDLIST, LPCWSTR, SHGDNF, LPITEMIDLIST* newList) override {
    if (newList) *newList = nullptr;
    return E_NOTIMPL;
  }

 private:
  Node node;
};

}  // namespace

IShellFolder* NewFolderObject(Node folder) { return new ShellFolderObject(std::move(folder)); }

}  // namespace qm::shell

HRESULT SHGetDesktopFolder(IShellFolder** desktop) {
  if (!desktop) return E_INVALIDARG;
  *desktop = qm::shell::NewFolderObject(qm::shell::Node{});
  return S_OK;
}
