#include "platform/shell/Com.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/shell/ShellLink.h"


namespace {

thread_local int initialisations = 0;

struct ClassEntry {
  CLSID classId;
  qm::shell::ClassFactory factory;
};

std::mutex classMutex;

std::vector<ClassEntry>& Classes() {
  static std::vector<ClassEntry> classes = {{CLSID_ShellLink, qm::shell::CreateShellLinkObject}};
  return classes;
}

// Task memory carries its size in front of the block, so GetSize and
// Realloc can answer without a side table.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<std::size_t> taskBlocks{0};
std::atomic<std::size_t> taskBytes{0};
std::atomic<std::size_t> liveObjects{0};

std::size_t& SizeOf(void* block) { return *reinterpret_cast<std::size_t*>(static_cast<char*>(block) - kHeader); }

class TaskAllocator final : public IMalloc {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMalloc) {
      *object = static_cast<IMalloc*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The allocator lives as long as the process.
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  void* Alloc(SIZE_T size) override { return CoTaskMemAlloc(size); }
  void* Realloc(void* block, SIZE_T size) override { return CoTaskMemRealloc(block, size); }
  void Free(void* block) override { CoTaskMemFree(block); }
  SIZE_T GetSize(void* block) override { return block ? SizeOf(block) : static_cast<SIZE_T>(-1); }
  int DidAlloc(void* block) override { return block ? -1 : 0; }
  void HeapMinimize() override {}
};

}  // namespace

HRESULT CoInitialize(LPVOID reserved) {
  (void)reserved;
  return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (initialisations > 0) --initialisations;
}

HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (initialisations == 0) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  qm::shell::ClassFactory factory = nullptr;
  {
    std::lock_guard<std::mutex> guard(classMutex);
    for (const ClassEntry& entry : Classes())
      if (entry.classId == classId) factory = entry.factory;
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  return factory(iid, object);
}

LPVOID CoTaskMemAlloc(SIZE_T size) {
  void* raw = std::malloc(kHeader + size);
  if (!raw) return nullptr;
  void* block = static_cast<char*>(raw) + kHeader;
  SizeOf(block) = size;
  ++taskBlocks;
  taskBytes += size;
  return block;
}

LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size) {
  if (!block) return CoTaskMemAlloc(size);
  std::size_t old = SizeOf(block);
  void* raw = std::realloc(static_cast<char*>(block) - kHeader, kHeader + size);
  if (!raw) return nullptr;
  void* moved = static_cast<char*>(raw) + kHeader;
  SizeOf(moved) = size;
  taskBytes += size;
  taskBytes -= old;
  return moved;
}

void CoTaskMemFree(LPVOID block) {
  if (!block) return;
  --taskBlocks;
  taskBytes -= SizeOf(block);
  std::free(static_cast<char*>(block) - kHeader);
}

HRESULT SHGetMalloc(LPMALLOC* allocator) {
  if (!allocator) return E_INVALIDARG;
  static TaskAllocator taskAllocator;
  *allocator = &taskAllocator;
  return S_OK;
}

namespace qm::shell {

TaskMemoryInUse TaskMemoryUse() { return {taskBlocks.load(), taskBytes.load()}; }

LiveObject::LiveObject() { ++liveObjects; }
LiveObject::LiveObject(const LiveObject&) { ++liveObjects; }
LiveObject::~LiveObject() { --liveObjects; }
std::size_t LiveObjectCount() { return liveObjects.load(); }

void RegisterInprocClass(const CLSID& classId, ClassFactory factory) {
  std::lock_guard<std::mutex> guard(classMutex);
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (it->classId == classId) {
      classes.erase(it);
      break;
    }
  }
  if (factory) classes.push_back({classId, factory});
}

}  // namespace qm::shell
