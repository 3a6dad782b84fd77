// The component object basics the shell objects need: IUnknown, the task
// allocator, and in-process object creation by class id.
#pragma once

#include <cstddef>

#include "platform/kernel/WinTypes.h"

using LPOLESTR = WCHAR*;
using LPCOLESTR = const WCHAR*;
using SIZE_T = std::size_t;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;

constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);

constexpr HRESULT HRESULT_FROM_WIN32(DWORD error) {
  return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u);
}

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

struct IMalloc : IUnknown {
  virtual void* Alloc(SIZE_T size) = 0;
  virtual void* Realloc(void* block, SIZE_T size) = 0;
  virtual void Free(void* block) = 0;
  virtual SIZE_T GetSize(void* block) = 0;
  virtual int DidAlloc(void* block) = 0;
  virtual void HeapMinimize() = 0;

 protected:
  ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

// Per thread: S_OK the first time, S_FALSE when already initialised.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

LPVOID CoTaskMemAlloc(SIZE_T size);
LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size);
void CoTaskMemFree(LPVOID block);
// The shell's task allocator: the same memory as CoTaskMemAlloc.
HRESULT SHGetMalloc(LPMALLOC* allocator);

namespace qm::shell {

// What the task allocator has handed out and not yet taken back, so that a
// caller can tell whether everything it was given has been returned.
struct TaskMemoryInUse {
  std::size_t blocks = 0;
  std::size_t bytes = 0;
};
TaskMemoryInUse TaskMemoryUse();

// The shell's own objects (folders, enumerators, menus) that are alive: each
// holds one LiveObject, so a reference never released shows here.
class LiveObject {
 public:
  LiveObject();
  LiveObject(const LiveObject&);
  ~LiveObject();
  LiveObject& operator=(const LiveObject&) = default;
};
std::size_t LiveObjectCount();

// One of the shell's objects behind Interface: made with one reference for
// its creator, deleted when the last one is released.
template <typename Interface>
class ComObject : public Interface, private LiveObject {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() = default;

  ULONG AddRef() override { return ++references; }
  ULONG Release() override {
    ULONG left = --references;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // Answers this object for IUnknown and for iid.
  HRESULT AnswerFor(REFIID asked, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (asked == IID_IUnknown || asked == iid) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

 private:
  ULONG references = 1;
};

// Creates an object of an in-process class and asks it for iid.
using ClassFactory = HRESULT (*)(REFIID iid, void** object);
// Makes a class creatable (or, with a null factory, not creatable) by
// CoCreateInstance. The shell link class is registered from the start.
void RegisterInprocClass(const CLSID& classId, ClassFactory factory);
}  // namespace qm::shell
